// The label of field 14 by the publisher and the label's dictionary form.
#include "dataset/label_dictionary.h"

#include <gtest/gtest.h>

#include "common/book_record.h"
#include "common/run_error.h"
#include "platform/platform_fake.h"

namespace orvel {
namespace {

constexpr const char* kWorkFolder = "/work/";
constexpr const char* kLabelFile = "/work/LabelsDB.dat";

struct LabelCase {
  const char* what;
  std::string_view dictionary;
  std::string_view publisher;
  std::string_view label;
  std::string_view result;
};

const LabelCase kLabelCases[] = {
    {"dictionary form of the label", "|見本出版|ﾐﾎﾝﾌﾞﾝｺ|見本文庫\r\n"_sj, "見本出版"_sj,
     "ミホン・ブンコ"_sj, "見本文庫"_sj},
    {"empty publisher finds no publisher's line", "|見本出版|ﾐﾎﾝﾌﾞﾝｺ|見本文庫\r\n"_sj, "",
     "ミホン・ブンコ"_sj, "ミホン・ブンコ"_sj},
    {"empty publisher column", "|見本出版|ﾐﾎﾝﾌﾞﾝｺ|A\r\n||ﾐﾎﾝﾌﾞﾝｺ|B\r\n"_sj, "",
     "ミホン・ブンコ"_sj, "B"},
    {"empty label column", "|見本出版||C\r\n"_sj, "見本出版"_sj, "", "C"},
    {"publisher enters unchanged", "|ﾐﾎﾝ|ﾐﾎﾝﾌﾞﾝｺ|D\r\n"_sj, "ミホン"_sj,
     "ミホン・ブンコ"_sj, "ミホン・ブンコ"_sj},
    {"no entry", "|見本出版|ﾍﾞﾂ|E\r\n"_sj, "見本出版"_sj, "ミホン・ブンコ"_sj,
     "ミホン・ブンコ"_sj},
    {"empty file", "", "見本出版"_sj, "ミホン"_sj, "ミホン"_sj},
    // "表" is 95 5C and "ポ" is 83 7C, in the publisher and in the value.
    {"double-byte names", "|表現ポ社|ﾎﾟｹｯﾄ|ポケット表\r\n"_sj, "表現ポ社"_sj,
     "ポケット"_sj, "ポケット表"_sj},
};

TEST(NormalizeLabelTest, Labels) {
  for (const LabelCase& c : kLabelCases) {
    FakePlatform platform;
    platform.files[kLabelFile] = std::string(c.dictionary);
    ClearBase();
    BaseField(13) = c.publisher;
    BaseField(14) = c.label;
    LoadLabelDictionary(platform, kWorkFolder);
    NormalizeLabel(platform);
    EXPECT_EQ(BaseField(14), c.result) << c.what;
  }
}

TEST(NormalizeLabelTest, EachLoadReplacesTheDictionary) {
  FakePlatform platform;
  platform.files[kLabelFile] = "|P|L|X\r\n";
  LoadLabelDictionary(platform, kWorkFolder);
  platform.files.erase(kLabelFile);
  LoadLabelDictionary(platform, kWorkFolder);
  ClearBase();
  BaseField(13) = "P";
  BaseField(14) = "L";
  NormalizeLabel(platform);
  EXPECT_EQ(BaseField(14), "L");
}

TEST(NormalizeLabelTest, UnreadableFileRaisesARunErrorAndLeavesNoLines) {
  FakePlatform platform;
  platform.files[kLabelFile] = "|P|L|X\r\n";
  LoadLabelDictionary(platform, kWorkFolder);
  platform.unreadable_files[kLabelFile] = true;
  EXPECT_THROW(LoadLabelDictionary(platform, kWorkFolder), RunError);
  ClearBase();
  BaseField(13) = "P";
  BaseField(14) = "L";
  NormalizeLabel(platform);
  EXPECT_EQ(BaseField(14), "L");
}

}  // namespace
}  // namespace orvel
