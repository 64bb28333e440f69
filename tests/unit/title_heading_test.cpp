// The title heading line: title, second title part, volume and subtitle.
#include "main/title_heading.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>

#include "common/book_record.h"

namespace orvel {
namespace {

constexpr const char* kLeft = "left";  // the field keeps its earlier value
constexpr std::optional<std::string_view> kNoSpan;

struct HeadingCase {
  std::string_view main_heading;
  std::optional<std::string_view> subtitle;  // the subtitle span's content
  std::string_view title;
  std::string_view second_part;
  std::string_view volume;
  std::string_view field_14;
};

std::string HeadingLine(const HeadingCase& c) {
  std::string line = "\t<h1 itemprop=\"name\">" + std::string(c.main_heading);
  if (c.subtitle) {
    line += "<span class=\"subTitle\">" + std::string(*c.subtitle) + "</span>";
  }
  return line + "</h1>";
}

const HeadingCase kHeadingCases[] = {
    {"ABC（3）"_sj, "（新装版）"_sj, "ABC", kLeft, "3", "新装版"_sj},
    {"ABC（3）　DEF"_sj, kNoSpan, "ABC", "DEF", "3", ""},
    {"ABC　DEF"_sj, kNoSpan, "ABC", "DEF", kLeft, ""},
    {"ABC（上）"_sj, kNoSpan, "ABC（上）"_sj, kLeft, kLeft, ""},
    {"ABC（03）"_sj, kNoSpan, "ABC", kLeft, "03", ""},
    // The volume comes from the parentheses only.
    {"ABC 2（3）"_sj, kNoSpan, "ABC 2", kLeft, "3", ""},
    {"20世紀少年（3）"_sj, kNoSpan, "20世紀少年"_sj, kLeft, "3", ""},
    {"ABC（第2巻）（限定版）"_sj, kNoSpan, "ABC", kLeft, "2", ""},
    {"ABC（3"_sj, kNoSpan, "ABC", kLeft, "3", ""},  // runs to the end unclosed
    {"ABC（0）"_sj, kNoSpan, "ABC（0）"_sj, kLeft, kLeft, ""},
    {"ABC（３）"_sj, kNoSpan, "ABC（３）"_sj, kLeft, kLeft, ""},
    {"ABC3", kNoSpan, "ABC3", kLeft, kLeft, ""},
    // Too many digits for a 32-bit number: no volume, nothing else changes.
    {"ABC（99999999999）"_sj, kNoSpan, "ABC（99999999999）"_sj, kLeft, kLeft, ""},
    {"ABC（2147483647）"_sj, kNoSpan, "ABC", kLeft, "2147483647", ""},
    {"【入荷予約】 ABC"_sj, kNoSpan, "ABC", kLeft, kLeft, ""},
    {"ABC<br>DEF", kNoSpan, "ABC DEF", kLeft, kLeft, ""},
    {"<b>ABC</b>\tDEF", kNoSpan, "ABCDEF", kLeft, kLeft, ""},
    {"ABC<br>　DEF<br>GHI"_sj, "（x）"_sj, "ABC ", "DEF GHI", kLeft, "x"},
    // "（" is 81 69 and "　" is 81 40: after "メ" (83 81) an "i" or an "@"
    // holds their bytes, which are neither a parenthesis nor a space.
    {"\x83\x81i3", kNoSpan, "\x83\x81i3", kLeft, kLeft, ""},
    {"\x83\x81@DEF", kNoSpan, "\x83\x81@DEF", kLeft, kLeft, ""},
};

TEST(SplitTitleHeadingTest, Fields) {
  for (const HeadingCase& c : kHeadingCases) {
    ClearBase();
    BaseField(4) = kLeft;
    BaseField(5) = kLeft;
    BaseField(14) = "label before";
    SplitTitleHeading(HeadingLine(c));
    EXPECT_EQ(BaseField(2), c.title) << c.main_heading;
    EXPECT_EQ(BaseField(4), c.second_part) << c.main_heading;
    EXPECT_EQ(BaseField(5), c.volume) << c.main_heading;
    EXPECT_EQ(BaseField(14), c.field_14) << c.main_heading;
  }
}

}  // namespace
}  // namespace orvel
