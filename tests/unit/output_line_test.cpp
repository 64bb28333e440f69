// The output line: column order, escaping, quoting, the half-width fields,
// and the output file.
#include "common/output_line.h"

#include <gtest/gtest.h>

#include "common/book_record.h"
#include "platform/platform_fake.h"

namespace orvel {
namespace {

// Splits a line at the commas outside quotes.
std::vector<std::string> Columns(const std::string& line) {
  std::vector<std::string> columns(1);
  bool quoted = false;
  for (char c : line) {
    if (c == '"') quoted = !quoted;
    if (c == ',' && !quoted) {
      columns.emplace_back();
    } else {
      columns.back().push_back(c);
    }
  }
  return columns;
}

class OutputLineTest : public ::testing::Test {
 protected:
  void SetUp() override { ClearBase(); }
  FakePlatform platform_;
};

TEST_F(OutputLineTest, EmptyRecordGives67Commas) {
  EXPECT_EQ(BaseToLine(platform_), std::string(67, ','));
}

TEST_F(OutputLineTest, FieldsStandInTheirColumns) {
  for (int field = 1; field <= 66; ++field) BaseField(field) = "f" + std::to_string(field);
  std::vector<std::string> columns = Columns(BaseToLine(platform_));
  ASSERT_EQ(columns.size(), 68u);
  const std::pair<int, std::string> expected[] = {
      {1, "f1"},   {19, "f19"}, {20, ""},    {21, "f20"}, {40, "f39"},
      {41, ""},    {42, "f40"}, {47, "f45"}, {66, "f64"}, {68, "f66"},
  };
  for (const auto& [column, text] : expected) EXPECT_EQ(columns[column - 1], text) << column;
}

TEST_F(OutputLineTest, EscapeAndQuote) {
  struct Case {
    const char* name;
    std::string field;
    std::string item;
  };
  const Case cases[] = {
      {"comma", "A,B", "A\x81\x43" "B"},
      {"line break", "a\r\nb", "a$$b"},
      {"double quote", "say \"hi\"", "\"say \x81\x68hi\x81\x68\""},  // quoted for the space
      {"quote alone", "\"", "\x81\x68"},
      {"space", "a b", "\"a b\""},
      {"tab", "a\tb", "\"a\tb\""},
      {"lone LF", "a\nb", "\"a\nb\""},
      {"lone CR", "a\rb", "\"a\rb\""},
      {"second byte not tested", "\x83\x40", "\x83\x40"},
      {"dollar signs kept", "$$", "$$"},
      // A lead byte with no second byte is replaced by the geta mark (81 AC),
      // so the comma, quote or line break after it stays a character of its
      // own and is escaped.
      {"lead byte before a comma", "AB\x81,CD", "AB\x81\xAC\x81\x43" "CD"},
      {"lead byte before a quote", "AB\x81\"CD", "AB\x81\xAC\x81\x68" "CD"},
      {"lead byte before CR LF", "AB\x81\r\nCD", "AB\x81\xAC$$CD"},
      {"lead byte at the end", "AB\x81", "AB\x81\xAC"},
      {"second bytes 5C and 7C are whole", "\x95\x5C\x83\x7C", "\x95\x5C\x83\x7C"},
  };
  for (const Case& c : cases) {
    BaseField(2) = c.field;
    EXPECT_EQ(Columns(BaseToLine(platform_))[1], c.item) << c.name;
  }
}

TEST_F(OutputLineTest, FieldsThreeSevenNineBecomeHalfWidthInTheRecord) {
  BaseField(3) = "ＡＢ"_sj;
  BaseField(7) = "ｼ　ﾝ"_sj;          // the ideographic space becomes a space: quoted
  BaseField(9) = "ジャンプ"_sj;
  BaseField(6) = "ＡＢ"_sj;          // other fields keep their width
  std::vector<std::string> columns = Columns(BaseToLine(platform_));
  EXPECT_EQ(columns[2], "AB");
  EXPECT_EQ(columns[6], "\"\xBC \xDD\"");
  EXPECT_EQ(columns[8], "\xBC\xDE\xAC\xDD\xCC\xDF");
  EXPECT_EQ(columns[5], std::string("ＡＢ"_sj));
  EXPECT_EQ(BaseField(7), "\xBC \xDD");
}

TEST_F(OutputLineTest, OutputFileHasCrLfAfterEveryLine) {
  ASSERT_TRUE(SaveOutputFile(platform_, "/out.csv", {"a,b", "c"}));
  EXPECT_EQ(platform_.files["/out.csv"], "a,b\r\nc\r\n");
  ASSERT_TRUE(SaveOutputFile(platform_, "/out.csv", {}));
  EXPECT_EQ(platform_.files["/out.csv"], "");
}

}  // namespace
}  // namespace orvel
