// Byte search, character search, replacing, trimming and the line rules.
#include "text/text.h"

#include <gtest/gtest.h>

namespace orvel {
namespace {

struct SearchCase {
  const char* name;
  std::string text;
  std::string pattern;
  std::size_t byte_position;
  std::size_t character_position;
};

// 83 7C is "ポ" and 95 5C is "表": their second bytes are "|" and "\".
const SearchCase kSearchCases[] = {
    {"ascii", "ab|c", "|", 2, 2},
    {"second byte 7C skipped", "\x83\x7C|x", "|", 1, 2},
    {"only a second byte 7C", "\x83\x7C" "x", "|", 1, kNotFound},
    {"second byte 5C skipped", "\x95\x5C\\", "\\", 1, 2},
    {"double-byte pattern", "a\x83\x7C\x83\x7C", "\x83\x7C", 1, 1},
    {"pattern across characters", "\x82\xA0\x82\xA0", "\xA0\x82", 1, kNotFound},
    {"half-width kana are single", "\xB1|", "|", 1, 1},
    {"missing", "abc", "z", kNotFound, kNotFound},
    {"empty pattern", "abc", "", 0, kNotFound},
};

TEST(TextSearchTest, ByteAndCharacterSearch) {
  for (const SearchCase& c : kSearchCases) {
    EXPECT_EQ(FindBytes(c.text, c.pattern), c.byte_position) << c.name;
    EXPECT_EQ(FindCharacter(c.text, c.pattern), c.character_position) << c.name;
  }
}

TEST(TextSearchTest, CharacterSearchFromAPosition) {
  EXPECT_EQ(FindCharacter("a|b|c", "|", 2), 3u);
  EXPECT_EQ(FindCharacter("\x83\x7C|\x83\x7C|", "|", 3), 5u);
}

struct ReplaceCase {
  std::string text, pattern, replacement, expected;
};

TEST(TextReplaceTest, EveryOccurrenceByCharacterSearch) {
  const ReplaceCase cases[] = {
      {"a,b,c", ",", "", "abc"},
      {"aaa", "aa", "b", "ba"},                       // no overlap
      {"ab", "a", "aa", "aab"},                       // replacement not searched again
      {"\x83\x7C|", "|", "/", "\x83\x7C/"},           // second byte left alone
      {"x", "", "y", "x"},                            // empty pattern replaces nothing
      {"ABC", "b", "x", "ABC"},                       // case-sensitive
  };
  for (const ReplaceCase& c : cases) {
    EXPECT_EQ(ReplaceAll(c.text, c.pattern, c.replacement), c.expected) << c.text;
  }
}

TEST(TextTrimTest, BytesUpToSpaceAtBothEnds) {
  EXPECT_EQ(Trim(" \t\r\n\x01x y\x1F "), "x y");
  EXPECT_EQ(Trim("\x81\x40x\x81\x40"), "\x81\x40x\x81\x40");  // ideographic space stays
  EXPECT_EQ(Trim("   "), "");
}

struct SplitCase {
  std::string text;
  TextList lines;
};

TEST(TextLinesTest, SplitAtEveryLineBreak) {
  const SplitCase cases[] = {
      {"a\r\nb\rc\nd", {"a", "b", "c", "d"}},
      {"a\r\n\r\nb", {"a", "", "b"}},
      {"a\r\n", {"a"}},              // a final break adds no entry
      {"a\n\n", {"a", ""}},
      {"", {}},
      {std::string("a\r\nb\0c\r\nd", 9), {"a", "b"}},  // a zero byte ends the text
      {"\r\r\n", {"", ""}},
  };
  for (const SplitCase& c : cases) EXPECT_EQ(SplitLines(c.text), c.lines);
}

TEST(TextLinesTest, JoinPutsCrLfAfterEveryEntry) {
  EXPECT_EQ(JoinLines({"a", "", "b"}), "a\r\n\r\nb\r\n");
  EXPECT_EQ(JoinLines({}), "");
}

TEST(TextLinesTest, CharacterBoundary) {
  EXPECT_EQ(CharacterBoundaryAtOrBefore("ab\x82\xA0", 3), 2u);
  EXPECT_EQ(CharacterBoundaryAtOrBefore("ab\x82\xA0", 4), 4u);
  EXPECT_EQ(CharacterBoundaryAtOrBefore("ab", 20), 2u);
}

}  // namespace
}  // namespace orvel
