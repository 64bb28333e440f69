// The page conversion from EUC-JP to Shift-JIS.
#include <gtest/gtest.h>

#include "text/text_helpers.h"

namespace orvel {
namespace {

struct EucJpCase {
  unsigned char euc_lead, euc_trail, shift_jis_lead, shift_jis_trail;
};

const EucJpCase kJisX0208Characters[] = {
#include "euc_jp_cases.inc"
};

TEST(EucJpToShiftJisTest, AgreesWithCodePage932ForEveryJisX0208Character) {
  int mismatches = 0;
  for (const EucJpCase& c : kJisX0208Characters) {
    std::string euc{static_cast<char>(c.euc_lead), static_cast<char>(c.euc_trail)};
    std::string expected{static_cast<char>(c.shift_jis_lead), static_cast<char>(c.shift_jis_trail)};
    if (EucJpToShiftJis(euc) != expected && ++mismatches <= 10) {
      ADD_FAILURE() << std::hex << int(c.euc_lead) << " " << int(c.euc_trail);
    }
  }
  EXPECT_EQ(mismatches, 0);
  EXPECT_GT(sizeof(kJisX0208Characters) / sizeof(kJisX0208Characters[0]), 6800u);
}

TEST(EucJpToShiftJisTest, Cases) {
  const std::pair<std::string, std::string> cases[] = {
      {"\xC6\xFC\xCB\xDC\x8E\xB1\x41", "\x93\xFA\x96\x7B\xB1\x41"},  // 日本ｱA
      {"\xA5\xE0", "\x83\x80"},                                       // ム
      {"\xDF\xA1", "\xE0\x40"},                                       // 漾
      {"a\r\nb\n", "a\r\nb\n"},                                       // line breaks kept
      {std::string("\x00\x80\xFF", 3), std::string("\x00\x80\xFF", 3)},
      {"\x8F\xB0\xA1x", "\x81\xAC" "x"},  // JIS X 0212: one geta mark for three bytes
      {"a\xC6", "a\xC6"},                 // a lead byte at the end is copied
      {"a\x8E", "a\x8E"},                 // so is a single shift at the end
      {"\x8F\xB0", "\x81\xAC"},           // a cut-off three-byte form
  };
  for (const auto& [euc, shift_jis] : cases) EXPECT_EQ(EucJpToShiftJis(euc), shift_jis);
}

TEST(EucJpToShiftJisTest, OutputNeverLongerThanInput) {
  std::string every_byte;
  for (int i = 0; i < 256; ++i) {
    for (int j = 0; j < 256; j += 17) {
      every_byte.push_back(static_cast<char>(i));
      every_byte.push_back(static_cast<char>(j));
    }
  }
  EXPECT_LE(EucJpToShiftJis(every_byte).size(), every_byte.size());
}

TEST(JisPairToShiftJisTest, Branches) {
  EXPECT_EQ(JisPairToShiftJis(0x46, 0x7C), "\x93\xFA");  // even j1
  EXPECT_EQ(JisPairToShiftJis(0x4B, 0x5C), "\x96\x7B");  // odd j1, j2 up to 5F
  EXPECT_EQ(JisPairToShiftJis(0x25, 0x60), "\x83\x80");  // odd j1, j2 above 5F
  EXPECT_EQ(JisPairToShiftJis(0x5F, 0x21), "\xE0\x40");  // j1 from 5F on
}

}  // namespace
}  // namespace orvel
