// Reading settings values by the rules of the Windows initialisation-file
// reader.
#include "platform/ini_reader.h"

#include <gtest/gtest.h>

#include <string>

namespace orvel {
namespace {

using namespace std::string_literals;  // "..."s keeps zero bytes

struct IniCase {
  const char* name;
  std::string contents;
  const char* section;
  const char* key;
  std::string expected;  // "DEFAULT" is the default passed in
};

// 83 41 is "ア" and 83 61 is "ヂ" (second bytes 'A' and 'a'); 83 5D is "ゾ"
// (second byte ']'); 82 60 is "Ａ" and 82 81 is "ａ"; 8D 77 93 FC is "購入".
const IniCase kIniCases[] = {
    {"plain", "[Entry]\r\nTaxSet=1\r\n", "Entry", "TaxSet", "1"},
    {"names ignore ASCII case", "[ENTRY]\r\ntaxset=1\r\n", "Entry", "TaxSet", "1"},
    {"requested names trimmed", "[Entry]\r\nTaxSet=1\r\n", " Entry ", "\tTaxSet ", "1"},
    {"blanks around names and value", "  [ Entry ]  \r\n \t TaxSet \t=  8 % \t\r\n", "Entry",
     "TaxSet", "8 %"},
    {"empty value is not missing", "[E]\r\nK=\r\n", "E", "K", ""},
    {"equals sign inside the value", "[E]\r\nK=a=b\r\n", "E", "K", "a=b"},
    {"double quotes removed", "[E]\r\nK= \" a b \" \r\n", "E", "K", " a b "},
    {"single quotes removed", "[E]\r\nK='x'\r\n", "E", "K", "x"},
    {"empty quotes", "[E]\r\nK=\"\"\r\n", "E", "K", ""},
    {"lone quote kept", "[E]\r\nK=\"\r\n", "E", "K", "\""},
    {"unmatched quotes kept", "[E]\r\nK=\"x'\r\n", "E", "K", "\"x'"},
    {"quotes not around the whole value kept", "[E]\r\nK=a\"b\"\r\n", "E", "K", "a\"b\""},
    {"semicolon line is a key", "[E]\r\n;K=x\r\nK=y\r\n", "E", ";K", "x"},
    {"semicolon line does not hide the key", "[E]\r\n;K=x\r\nK=y\r\n", "E", "K", "y"},
    {"hash line is a key", "[E]\r\n#K=x\r\n", "E", "#K", "x"},
    {"text after the value is part of it", "[E]\r\nK=x ; note\r\n", "E", "K", "x ; note"},
    {"first key wins", "[E]\r\nK=1\r\nk=2\r\n", "E", "K", "1"},
    {"repeated section not searched", "[E]\r\nA=1\r\n[e]\r\nK=2\r\n", "E", "K", "DEFAULT"},
    {"key of another section", "[Other]\r\nK=1\r\n[E]\r\nA=2\r\n", "E", "K", "DEFAULT"},
    {"key before every section", "K=1\r\n[E]\r\n", "E", "K", "DEFAULT"},
    {"section after another", "[A]\r\nK=1\r\n[E]\r\nK=2\r\n", "E", "K", "2"},
    {"line without equals sign is no other key", "[E]\r\nX\r\nK=1\r\n", "E", "K", "1"},
    {"the key's name alone is the key without a value", "[E]\r\nK\r\nK=1\r\n", "E", "K",
     "DEFAULT"},
    // A byte-order mark: UTF-8 (EF BB BF) or UTF-16 (FF FE, FE FF), values in
    // Shift-JIS; "購入" is E8 B3 BC E5 85 A5 in UTF-8, 8CFC 5165 in UTF-16.
    {"UTF-8 file", "\xEF\xBB\xBF[E]\r\nK=\xE8\xB3\xBC\xE5\x85\xA5\r\n", "E", "K",
     "\x8D\x77\x93\xFC"},
    {"UTF-8 character outside code page 932", "\xEF\xBB\xBF[E]\r\nK=\xC3\xA9\r\n", "E", "K",
     "?"},
    {"UTF-16 file", std::string("\xFF\xFE[\0E\0]\0\n\0K\0=\0\xFC\x8C\x65\x51", 18), "E", "K",
     "\x8D\x77\x93\xFC"},
    {"UTF-16 big-endian file", std::string("\xFE\xFF\0[\0E\0]\0\n\0K\0=\0x", 16), "E", "K", "x"},
    {"LF ends lines", "[E]\nA=1\nK=2\n", "E", "K", "2"},
    {"lone CR ends lines", "[E]\rA=1\rK=2", "E", "K", "2"},
    {"CR CR is an empty line", "[E]\r\rK=2\r\r", "E", "K", "2"},
    {"no line break at the end", "[E]\r\nK=2", "E", "K", "2"},
    {"zero byte ends the value", "[E]\r\nK=ab\0cd\r\n"s, "E", "K", "ab"},
    {"zero byte ends only its line", "[E]\r\nA=\0x\r\nK=2\r\n"s, "E", "K", "2"},
    {"text after the header's bracket", "[E] x\r\nK=1\r\n", "E", "K", "1"},
    {"missing section", "[A]\r\nK=1\r\n", "E", "K", "DEFAULT"},
    {"missing key", "[E]\r\nA=1\r\n", "E", "K", "DEFAULT"},
    {"empty file", "", "E", "K", "DEFAULT"},
    {"Shift-JIS value", "[Entry]\r\nPurachaseSet=\x8D\x77\x93\xFC\r\n", "Entry", "PurachaseSet",
     "\x8D\x77\x93\xFC"},
    {"second byte 41 matches exactly", "[E]\r\n\x83\x41=1\r\n", "E", "\x83\x41", "1"},
    {"second bytes 41 and 61 differ", "[E]\r\n\x83\x61=1\r\n", "E", "\x83\x41", "DEFAULT"},
    {"full-width letters keep their case", "[E]\r\n\x82\x81=1\r\n", "E", "\x82\x60", "DEFAULT"},
    {"second byte 5D does not close the header", "[\x83\x5D]\r\nK=1\r\n", "\x83\x5D", "K", "1"},
};

TEST(IniReaderTest, TableOfFiles) {
  for (const IniCase& c : kIniCases) {
    EXPECT_EQ(ReadIniValue(c.contents, c.section, c.key, "DEFAULT"), c.expected) << c.name;
  }
}

TEST(IniReaderTest, ValuesAndDefaultsCutTo2047Bytes) {
  const std::string long_value(3000, 'a');
  const std::string exact(kIniValueLimit, 'b');
  const std::string cut(kIniValueLimit, 'a');
  EXPECT_EQ(ReadIniValue("[E]\r\nK=" + long_value + "\r\n", "E", "K", "x"), cut);
  EXPECT_EQ(ReadIniValue("[E]\r\nK=" + exact + "\r\n", "E", "K", "x"), exact);
  // The quotes go first; the 2,047 bytes inside them stay whole.
  EXPECT_EQ(ReadIniValue("[E]\r\nK=\"" + exact + "\"\r\n", "E", "K", "x"), exact);
  EXPECT_EQ(ReadIniValue("", "E", "K", long_value), cut);
  // A default loses its trailing blanks, as with the Windows reader.
  EXPECT_EQ(ReadIniValue("", "E", "K", " def \t "), " def");
  EXPECT_EQ(IniDefaultValue("def  "), "def");
}

TEST(IniReaderTest, CutNeverSplitsADoubleByteCharacter) {
  // 2,046 bytes and "漢" (8A BF): its lead byte would be byte 2,047.
  const std::string before(kIniValueLimit - 1, 'a');
  EXPECT_EQ(ReadIniValue("[E]\r\nK=" + before + "\x8A\xBF\r\n", "E", "K", "x"), before);
  EXPECT_EQ(CutToIniValueLimit(before + "\x8A\xBF"), before);
  EXPECT_EQ(CutToIniValueLimit(std::string(kIniValueLimit - 2, 'a') + "\x8A\xBF"),
            std::string(kIniValueLimit - 2, 'a') + "\x8A\xBF");
}

}  // namespace
}  // namespace orvel
