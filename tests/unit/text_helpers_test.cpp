// The shared text helpers, case by case with the bytes visible.
#include "text/text_helpers.h"

#include <gtest/gtest.h>

#include "platform/platform_fake.h"

namespace orvel {
namespace {

struct BetweenCase {
  std::string text, start, end, expected;
};

TEST(TextBetweenTest, Cases) {
  const BetweenCase cases[] = {
      {"<span>Go</span> now", "<span>", "</span>", "Go"},
      {"AB", "A", "Z", "B"},              // no end marker: the whole rest
      {"A[]B", "[", "]", ""},
      {"xyz", "A", "z", ""},              // no start marker
      {"", "A", "B", ""},
      {"xA", "A", "B", ""},               // start marker at the very end
      {"xAbc", "A", "", "bc"},            // empty end marker
      {"abc", "", "c", ""},               // empty start marker
      {"zAzAy", "A", "A", "z"},           // first start, first end after it
      // Byte search: the marker "|" found on the second byte of "ポ" (83 7C).
      {"\x83\x7C" "ab|cd", "|", "c", "ab|"},
  };
  for (const BetweenCase& c : cases) {
    EXPECT_EQ(TextBetween(c.text, c.start, c.end), c.expected) << c.text;
  }
}

TEST(StripMarkupTest, Cases) {
  const std::pair<std::string, std::string> cases[] = {
      {"<b>abc</b>", "abc"},
      {"x\">Title</a>", "Title"},                // begins inside a tag
      {"A<!-- c -->B", "A<!-- c -->B"},          // comments survive
      {"A<!-- <b>c</b> -->B", "A<!-- c -->B"},   // a tag inside a comment goes
      {"1 &lt; 2", "1 < 2"},
      {"a > b", " b"},
      {"a<b", "a"},
      {"A-->B", "A-->B"},
      {"a>b<c", "b"},
      {"&amp;lt;", "&amp;lt;"},
      {"a&nbsp;b&gt;", "a b>"},
      {"&lt;b&gt;", "<b>"},                      // decoded brackets stay
      {"plain", "plain"},
      {"", ""},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(StripMarkup(text), expected) << text;
}

TEST(FullWidthAlnumToAsciiTest, Cases) {
  const std::pair<std::string, std::string> cases[] = {
      {std::string("ＡＢＣ１２３ｘ"_sj), "ABC123x"},
      {"\x82\x59", ":"},                      // unassigned second bytes give signs
      {"\xB1\xDF", "\xB1\xDF"},               // half-width kana stay
      {"\x81\x40", "\x81\x40"},               // ideographic space stays
      {"\x88\x9F", "\x88\x9F"},               // kanji stay
      {std::string("A\0\x82\x60", 4), "A"},   // a zero byte ends the walk
      {"a\x82", "a\x82"},                     // a lead byte at the end is kept
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(FullWidthAlnumToAscii(text), expected);
  }
}

TEST(DigitsTest, Cases) {
  struct Case {
    std::string text, only, or_zero;
  };
  const Case cases[] = {
      {std::string("第12巻"_sj), "12", "12"},
      {std::string("上"_sj), std::string("上"_sj), "0"},
      {std::string("１２"_sj), std::string("１２"_sj), "0"},
      {"", "", "0"},
      {"a0b07", "007", "007"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DigitsOnly(c.text), c.only);
    EXPECT_EQ(DigitsOrZero(c.text), c.or_zero);
  }
}

TEST(SeparatedItemTest, Cases) {
  struct Case {
    std::string text;
    int n;
    std::string expected;
  };
  const Case cases[] = {
      {"a|b|c", 1, "a"}, {"a|b|c", 2, "b"}, {"a|b|c", 3, "c"}, {"a|b|c", 4, ""},
      {"a|b|", 3, ""},   {"abc", 1, "abc"}, {"abc", 2, ""},    {"", 1, ""},
      {"a|b", 0, ""},    {"a|b", -1, ""},
      {"\x83\x7C|x", 1, "\x83\x7C"},  // 7C as a second byte is no separator
      {"\x83\x7C|x", 2, "x"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SeparatedItem(c.text, '|', c.n), c.expected) << c.text << " " << c.n;
  }
}

TEST(ToHalfWidthTest, UsesThePlatformMappingWithoutTruncating) {
  FakePlatform platform;
  EXPECT_EQ(ToHalfWidth(platform, "ＡＢ　Ｃ"_sj), "AB C");
  EXPECT_EQ(ToHalfWidth(platform, "ジャンプ"_sj), "\xBC\xDE\xAC\xDD\xCC\xDF");
  std::string long_text;
  for (int i = 0; i < 200; ++i) long_text += "Ａ"_sj;
  EXPECT_EQ(ToHalfWidth(platform, long_text), std::string(200, 'A'));
}

}  // namespace
}  // namespace orvel
