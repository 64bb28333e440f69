// The release date shapes and what each leaves in fields 25 to 27.
#include "main/release_date.h"

#include <gtest/gtest.h>

#include "common/book_record.h"

namespace orvel {
namespace {

constexpr const char* kLeft = "left";  // the field keeps its earlier value

struct DateCase {
  std::string_view input;
  const char* year;
  const char* month;
  const char* day;
};

const DateCase kDateCases[] = {
    {"2008年5月20日"_sj, "2008", "05", "20"},
    {"2008年05月"_sj, "2008", "05", kLeft},
    {"2008年"_sj, "2008", kLeft, kLeft},
    {"08年5月"_sj, "2008", "05", kLeft},
    {"98年5月"_sj, "1998", "05", kLeft},
    {"59年1月"_sj, "2059", "01", kLeft},
    {"60年1月"_sj, "1960", "01", kLeft},
    {"123年1月"_sj, "2023", "01", kLeft},
    {" 2008 年 5 月 20 日 "_sj, "2008", "05", "20"},  // parts are trimmed
    {"2008/5/20", "2008", "05", "20"},
    {"2008.05.20", "2008", "05", "20"},
    {"2008/5", "2008", "05", kLeft},
    {"2008.05/20", "2008", "20", kLeft},  // no second dot: "05/20" cut to "20"
    {"2008/13/45", "2008", "13", "45"},   // no range check
    {"20080520", "2008", "05", "20"},
    {"200805", "2008", "05", kLeft},
    {"080520", "2008", "05", "20"},
    {"980520", "1998", "05", "20"},
    {"191231", "1912", "31", kLeft},      // 19 or 20 first: always year and month
    {"平成20年5月"_sj, "", "05", kLeft},   // the year text is not a number
    {"-5年1月"_sj, "", "01", kLeft},        // a negative year
    {"99999999999年1月"_sj, "", "01", kLeft},  // too large to be a number
    {"2008年5月下旬"_sj, "2008", "05", kLeft},
    {"未定"_sj, "", kLeft, kLeft},
    {"00000000", "", kLeft, kLeft},
    {"0", "", kLeft, kLeft},
    {"2008052", "", kLeft, kLeft},        // seven digits: no shape
    {"", "", kLeft, kLeft},
    {"1.5", "2001", "05", kLeft},
    {"２００８年５月２０日"_sj, "2008", "05", "20"},
    {"２００８．５"_sj, "", kLeft, kLeft},  // a full-width dot is no separator
};

TEST(NormalizeReleaseDateTest, Shapes) {
  for (const DateCase& c : kDateCases) {
    ClearBase();
    BaseField(25) = kLeft;
    BaseField(26) = kLeft;
    BaseField(27) = kLeft;
    NormalizeReleaseDate(c.input);
    EXPECT_EQ(BaseField(25), c.year) << c.input;
    EXPECT_EQ(BaseField(26), c.month) << c.input;
    EXPECT_EQ(BaseField(27), c.day) << c.input;
  }
}

// "年" is 94 4E; after a character whose second byte is 0x94 ("ヴ", 83 94) an
// "N" holds the same bytes, which are no year separator.
TEST(NormalizeReleaseDateTest, SeparatorNeverStartsOnASecondByte) {
  ClearBase();
  BaseField(26) = kLeft;
  NormalizeReleaseDate("12\x83\x94N5\x8C\x8E");  // 12, ヴ, N, 5, 月
  EXPECT_EQ(BaseField(25), "");
  EXPECT_EQ(BaseField(26), kLeft);
}

}  // namespace
}  // namespace orvel
