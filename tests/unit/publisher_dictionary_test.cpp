// The publisher of field 13 by the publisher code of field 1.
#include "dataset/publisher_dictionary.h"

#include <gtest/gtest.h>

#include "common/book_record.h"
#include "common/run_error.h"
#include "platform/platform_fake.h"

namespace orvel {
namespace {

constexpr const char* kWorkFolder = "/work/";
constexpr const char* kPublisherFile = "/work/PubDB.dat";
constexpr const char* kUntouched = "untouched";

struct PublisherCase {
  const char* what;
  std::string dictionary;
  std::string code;
  std::string_view publisher;
};

const PublisherCase kPublisherCases[] = {
    {"ISBN-13", "|12|見本出版\r\n"_sj.data(), "9784123456789", "見本出版"_sj},
    {"ISBN-10", "|12|見本出版\r\n"_sj.data(), "4123456789", "見本出版"_sj},
    {"18-character combined code", "|12|A\r\n", "412345678901930600", "A"},
    {"shortest code first", "|123|B\r\n|12|A\r\n", "9784123456789", "A"},
    {"longer code", "|12|A\r\n|5678|B\r\n", "9784567890123", "B"},
    {"six digits", "|567890|F\r\n", "9784567890123", "F"},
    {"seven digits are never tried", "|5678901|G\r\n", "9784567890123", kUntouched},
    {"trailing space kept", "|12|A \r\n", "9784123456789", "A "},
    {"key anywhere in a line", "x|12|A\r\n", "9784123456789", "A"},
    {"value ends at a lone LF", "|12|A\n|13|B", "9784123456789", "A"},
    {"value ends at a lone CR", "|12|A\r|13|B", "9784123456789", "A"},
    {"last line without a break", "|13|B\r\n|12|A", "9784123456789", "A"},
    {"zero byte ends the file", std::string("|13|B\r\n\0|12|A\r\n", 16), "9784123456789",
     kUntouched},
    {"no entry", "|99|A\r\n", "9784123456789", kUntouched},
    {"ISBN of another group", "|12|A\r\n|41|B\r\n", "9780123456789", kUntouched},
    {"979 prefix", "|12|A\r\n", "9791234567890", kUntouched},
    {"JAN code of another article", "|91|A\r\n|12|B\r\n", "4912345678904", kUntouched},
    {"26-character combined code of a JAN", "|91|A\r\n", "49123456789041234567890123",
     kUntouched},
    {"26-character combined ISBN code", "|12|A\r\n", "97841234567891920012345678", "A"},
    {"other first character", "|12|A\r\n", "0123456789", kUntouched},
    {"empty code", "|12|A\r\n", "", kUntouched},
    // "表" is 95 5C and "ポ" is 83 7C: the bytes pass through unchanged.
    {"double-byte names", "|12|表現ポ社\r\n"_sj.data(), "9784123456789", "表現ポ社"_sj},
};

TEST(LookUpPublisherTest, Codes) {
  for (const PublisherCase& c : kPublisherCases) {
    FakePlatform platform;
    platform.files[kPublisherFile] = c.dictionary;
    ClearBase();
    BaseField(1) = c.code;
    BaseField(13) = kUntouched;
    LookUpPublisher(platform, kWorkFolder);
    EXPECT_EQ(BaseField(13), c.publisher) << c.what;
  }
}

TEST(LookUpPublisherTest, MissingFileIsAnEmptyDictionary) {
  FakePlatform platform;
  ClearBase();
  BaseField(1) = "9784123456789";
  LookUpPublisher(platform, kWorkFolder);
  EXPECT_EQ(BaseField(13), "");
}

TEST(LookUpPublisherTest, UnreadableFileRaisesARunError) {
  FakePlatform platform;
  platform.unreadable_files[kPublisherFile] = true;
  ClearBase();
  BaseField(1) = "0123456789";  // even without a publisher code
  EXPECT_THROW(LookUpPublisher(platform, kWorkFolder), RunError);
}

}  // namespace
}  // namespace orvel
