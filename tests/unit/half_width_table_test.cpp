// The half-width forms of Shift-JIS texts by the generated table.
#include "platform/half_width_table.h"

#include <gtest/gtest.h>

#include <string>

#include "text/shift_jis_literal.h"

namespace orvel {
namespace {

// "83 57 41" -> the bytes 0x83 0x57 0x41.
std::string Bytes(std::string_view hex) {
  std::string bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 3) {
    bytes += static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16));
  }
  return bytes;
}

struct HalfWidthCase {
  const char* name;
  const char* text;
  const char* expected;
};

const HalfWidthCase kHalfWidthCases[] = {
    {"ＡＢ　Ｃ", "82 60 82 61 81 40 82 62", "41 42 20 43"},
    {"ジャンプ: voiced and semi-voiced kana take a mark", "83 57 83 83 83 93 83 76",
     "BC DE AC DD CC DF"},
    {"ヴ", "83 94", "B3 DE"},
    {"ー", "81 5B", "B0"},
    {"、。「」・", "81 41 81 42 81 75 81 76 81 45", "A4 A1 A2 A3 A5"},
    {"゛゜", "81 4A 81 4B", "DE DF"},
    {"～ is full-width tilde in code page 932", "81 60", "7E"},
    {"＼ is kept, as the Windows mapping keeps it", "81 5F", "81 5F"},
    {"‘’“” become ASCII quotes, as in the Windows mapping", "81 65 81 66 81 67 81 68",
     "27 27 22 22"},
    {"￥ and ￤ become 5C and 7C, as in the Windows mapping", "81 8F EE FA", "5C 7C"},
    {"ヾ is kept (the Windows mapping gives ヽﾞ, which is not half-width)", "81 53", "81 53"},
    {"＂＇ of the extension rows", "FA 57 EE FC FA 56 EE FB", "22 22 27 27"},
    {"ヵヶヮ have no half-width form", "83 95 83 96 83 8E", "83 95 83 96 83 8E"},
    {"ゐ漢字 stay", "82 EE 8A BF 8E 9A", "82 EE 8A BF 8E 9A"},
    {"ひらがな stay", "82 D0 82 E7 82 AA 82 C8", "82 D0 82 E7 82 AA 82 C8"},
    {"■ has no half-width form in code page 932", "81 A1", "81 A1"},
    {"ASCII and half-width kana copied", "41 7E B1 DE 0D 0A", "41 7E B1 DE 0D 0A"},
    {"second byte 41 is not A", "83 41 41", "B1 41"},
    {"lead byte at the end copied", "82 60 82", "41 82"},
    {"unassigned code kept", "85 40", "85 40"},
    {"empty", "", ""},
};

TEST(HalfWidthTableTest, TableOfTexts) {
  for (const HalfWidthCase& c : kHalfWidthCases) {
    EXPECT_EQ(MapToHalfWidthByTable(Bytes(c.text)), Bytes(c.expected)) << c.name;
  }
}

TEST(HalfWidthTableTest, WholeClasses) {
  // Every full-width ASCII variant but ＼ (81 5F), which stays.
  EXPECT_EQ(MapToHalfWidthByTable(
                "！＂＃＄％＆＇（）＊＋，－．／０１２３４５６７８９：；＜＝＞？"
                "＠ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶＷＸＹＺ［＼］＾＿"
                "｀ａｂｃｄｅｆｇｈｉｊｋｌｍｎｏｐｑｒｓｔｕｖｗｘｙｚ｛｜｝～"_sj),
            "!\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\x81\x5F]^_"
            "`abcdefghijklmnopqrstuvwxyz{|}~");
  // ヮ, ヰ, ヱ, ヵ and ヶ have no half-width form.
  std::string kana_half_width;
  kana_half_width += "ｧｱｨｲｩｳｪｴｫｵｶｶﾞｷｷﾞｸｸﾞｹｹﾞｺｺﾞｻｻﾞｼｼﾞｽｽﾞｾｾﾞｿｿﾞ"_sj;
  kana_half_width += "ﾀﾀﾞﾁﾁﾞｯﾂﾂﾞﾃﾃﾞﾄﾄﾞﾅﾆﾇﾈﾉﾊﾊﾞﾊﾟﾋﾋﾞﾋﾟﾌﾌﾞﾌﾟﾍﾍﾞﾍﾟﾎﾎﾞﾎﾟ"_sj;
  kana_half_width += "ﾏﾐﾑﾒﾓｬﾔｭﾕｮﾖﾗﾘﾙﾚﾛ"_sj;
  kana_half_width += "ヮﾜヰヱｦﾝｳﾞヵヶ"_sj;
  EXPECT_EQ(MapToHalfWidthByTable("ァアィイゥウェエォオカガキギクグケゲコゴサザシジスズセゼソゾ"
                                  "タダチヂッツヅテデトドナニヌネノハバパヒビピフブプヘベペホボポ"
                                  "マミムメモャヤュユョヨラリルレロヮワヰヱヲンヴヵヶ"_sj),
            kana_half_width);
}

TEST(HalfWidthTableTest, LongTextComesOutWhole) {
  // 200 times "ジー" (4 bytes) becomes 200 times "ｼﾞｰ" (3 bytes): 600 bytes.
  std::string text, expected;
  for (int i = 0; i < 200; ++i) {
    text += Bytes("83 57 81 5B");
    expected += Bytes("BC DE B0");
  }
  EXPECT_EQ(MapToHalfWidthByTable(text), expected);
}

}  // namespace
}  // namespace orvel
