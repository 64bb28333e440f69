// The key form of names in the author and label dictionaries.
#include "dataset/dictionary_form.h"

#include <gtest/gtest.h>

#include "platform/platform_fake.h"

namespace orvel {
namespace {

struct FormCase {
  std::string_view name;
  std::string_view form;
};

const FormCase kFormCases[] = {
    {"ミホン・ブンコ"_sj, "ﾐﾎﾝﾌﾞﾝｺ"_sj},
    {"ニュース ブック"_sj, "二ｭ-ｽﾌﾞｯｸ"_sj},    // ニ before the half-width mapping
    {"☆星★の♪うた"_sj, "星のうた"_sj},  // marks go, hiragana stay
    {"Ａ－Ｂ　Ｃ"_sj, "A-BC"},                   // full-width forms, spaces removed
    {"ｰｰ"_sj, "--"},                             // half-width prolonged marks
    {"ｱ･ｲ"_sj, "ｱ･ｲ"_sj},                       // a half-width middle dot stays
    {"\t ABC \r\n", "ABC"},                       // trimmed
    {"Σ"_sj, "\x83\xB0"},  // second byte B0 is no half-width prolonged mark
    {"", ""},
};

TEST(DictionaryFormTest, KeyForms) {
  FakePlatform platform;
  for (const FormCase& c : kFormCases) {
    EXPECT_EQ(DictionaryForm(platform, c.name), c.form) << c.name;
  }
}

}  // namespace
}  // namespace orvel
