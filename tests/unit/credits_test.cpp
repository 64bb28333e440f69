// The contributor credit classifier: the role table row by row, the order of
// overlapping role words, the clean-up of each credit and the sub-separator.
#include "dataset/credits.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "dataset/contributor_list.h"
#include "text/text.h"

namespace orvel {
namespace {

struct CreditCase {
  std::string_view text;                     // as the description section passes it
  std::vector<std::string_view> entries;     // the contributor list afterwards
};

// Classifies with the description section's arguments: "／" as mark and
// separator, no sub-separator.
TextList Classify(std::string_view text, int* count = nullptr) {
  ContributorListScope scope;
  int appended = ClassifyCredits(text, "／"_sj, "／"_sj, "");
  if (count != nullptr) *count = appended;
  return ContributorList();
}

TextList Texts(const std::vector<std::string_view>& views) {
  return TextList(views.begin(), views.end());
}

void ExpectCases(const std::vector<CreditCase>& cases) {
  for (const CreditCase& c : cases) {
    int count = -1;
    EXPECT_EQ(Classify(c.text, &count), Texts(c.entries)) << c.text;
    EXPECT_EQ(count, static_cast<int>(c.entries.size())) << c.text;
  }
}

// One credit for each row of the role table whose effect shows.
TEST(ClassifyCreditsTest, EachRoleRow) {
  ExpectCases({
      {"著者 青木"_sj, {"青木"_sj}},
      {"青木 編・著"_sj, {"青木[編・著]"_sj}},
      {"青木 編著"_sj, {"青木[編著]"_sj}},
      {"著 青木"_sj, {"青木"_sj}},
      {"青木 著"_sj, {"青木"_sj}},
      {"青木著［文］"_sj, {"青木［文］"_sj}},
      {"漫画 青木"_sj, {"青木"_sj}},
      {"画 青木"_sj, {"青木"_sj}},
      {"青木 画"_sj, {"青木"_sj}},
      {"青木 イラスト/作画"_sj, {"青木"_sj}},
      {"作画 青木"_sj, {"青木"_sj}},
      {"小説 青木"_sj, {"青木"_sj}},
      {"青木（文）"_sj, {"青木"_sj}},
      {"青木(著)"_sj, {"青木"_sj}},
      {"青木【著】"_sj, {"青木"_sj}},
      {"青木画［絵］"_sj, {"青木［絵］"_sj}},
      {"原作者 青木"_sj, {"青木"_sj}},
      {"原作 青木"_sj, {"青木"_sj}},
      {"作 青木"_sj, {"青木"_sj}},
      {"青木 作"_sj, {"青木"_sj}},
      {"青木作［文］"_sj, {"青木［文］"_sj}},
      {"イラスト 青木"_sj, {"青木"_sj}},
      {"イ 青木"_sj, {"青木"_sj}},
      {"青木イ［絵］"_sj, {"青木［絵］"_sj}},
      {"青木（画）"_sj, {"青木"_sj}},
      {"青木（絵）"_sj, {"青木"_sj}},
      {"青木 執筆"_sj, {"青木 [執筆]"_sj}},
      {"青木 脚本"_sj, {"青木 [脚本]"_sj}},
      {"青木 シナリオ"_sj, {"青木 [シナリオ]"_sj}},
      {"青木 キャラクター原案"_sj, {"青木 [キャラクター原案]"_sj}},
      {"青木 ストーリー原案"_sj, {"青木 [ストーリー原案]"_sj}},
      {"青木 原案"_sj, {"青木 [原案]"_sj}},
      {"案 青木"_sj, {"青木 [案]"_sj}},
      {"青木案［x］"_sj, {"青木［x］ [案]"_sj}},
      {"青木 監修他"_sj, {"青木 [監修他]"_sj}},
      {"青木 監修"_sj, {"青木 [監修]"_sj}},
      {"青木 監訳"_sj, {"青木 [監訳]"_sj}},
      {"青木 翻訳"_sj, {"青木 [翻訳]"_sj}},
      {"訳 青木"_sj, {"青木 [訳]"_sj}},
      {"青木 訳"_sj, {"青木 [訳]"_sj}},
      {"青木（訳）"_sj, {"青木 [訳]"_sj}},
      {"青木訳［英語］"_sj, {"青木［英語］ [訳]"_sj}},
      {"青木 解説"_sj, {"青木 [解説]"_sj}},
      {"青木 責任編集"_sj, {"青木 [責任編集]"_sj}},
      {"青木 構成・編集"_sj, {"青木 [構成・編集]"_sj}},
      {"編集 青木"_sj, {"青木 [編集]"_sj}},
      {"青木 編集"_sj, {"青木 [編集]"_sj}},
      {"編 青木"_sj, {"青木 [編]"_sj}},
      {"青木 編"_sj, {"青木 [編]"_sj}},
      {"青木（編）"_sj, {"青木 [編]"_sj}},
      {"青木 編［第2版］"_sj, {"青木第2版］ [編]"_sj}},  // the bracket goes too
      {"青木 その他"_sj, {"青木その他"_sj}},
      {"青木"_sj, {"青木"_sj}},                          // no role word
  });
}

// Credits holding two overlapping role words: the earlier row decides.
TEST(ClassifyCreditsTest, EarlierRowWinsBetweenOverlappingWords) {
  ExpectCases({
      {"編・著者 青木"_sj, {"編・ 青木"_sj}},           // 著者 before 編・著
      {"青木 イラスト/作画"_sj, {"青木"_sj}},           // not "青木 イラスト/"
      {"青木 監修他"_sj, {"青木 [監修他]"_sj}},          // not "青木 他 [監修]"
      {"監訳翻訳 青木"_sj, {"翻訳 青木 [監訳]"_sj}},     // 監訳 before 翻訳
      {"青木 責任編集"_sj, {"青木 [責任編集]"_sj}},      // not "青木 責任 [編集]"
      {"青木 構成・編集"_sj, {"青木 [構成・編集]"_sj}},
      {"原作者 青木"_sj, {"青木"_sj}},                  // not "者 青木"
      {"青木 監修 翻訳"_sj, {"青木  翻訳 [監修]"_sj}},   // only the first row applies
      {"著者青木著者"_sj, {"青木"_sj}},                 // every occurrence goes
      {"漫画太郎"_sj, {"太郎"_sj}},                     // also inside a name
  });
}

TEST(ClassifyCreditsTest, CleanUpOfEachCredit) {
  ExpectCases({
      {""_sj, {}},
      {"青木￥一"_sj, {"青木\\一"_sj}},                   // a yen sign becomes a backslash
      {"ＡＢＣ１２ｘ"_sj, {"ABC12x"_sj}},
      {"青木！"_sj, {"青木!"_sj}},
      {"〔青木〕"_sj, {"青木"_sj}},
      {"青木：赤井"_sj, {"青木 赤井"_sj}},
      {"青木　赤井"_sj, {"青木 赤井"_sj}},
      {"<b>青木</b> &lt;x&gt;"_sj, {"青木 <x>"_sj}},
      {"青木()"_sj, {"青木"_sj}},
      {"青木（監修）"_sj, {"青木 [監修]"_sj}},          // the emptied pair goes
      {"・青木・"_sj, {"青木"_sj}},
      {"・ 青木 ・"_sj, {"青木"_sj}},
      {"・・青木・・"_sj, {"・青木・"_sj}},               // one dot at each end
      {"青木・赤井"_sj, {"青木・赤井"_sj}},
      {"・"_sj, {}},
      {"著"_sj, {}},                                     // a role word alone
      {"他"_sj, {}},
      {"ほか"_sj, {}},
      {"青木／他"_sj, {"青木"_sj}},
      {"青木／ほか"_sj, {"青木"_sj}},
      {"他山"_sj, {"他山"_sj}},
      {"青木ほか 著"_sj, {"青木ほか"_sj}},
      {"青木／／赤井"_sj, {"青木"_sj, "赤井"_sj}},       // an empty piece gives nothing
      {"青木 著／赤井 画／緑川 監修"_sj,
       {"青木"_sj, "赤井"_sj, "緑川 [監修]"_sj}},
  });
}

// "メE" is 83 81 45: its last two bytes look like "・" (81 45) but begin on
// the second byte of "メ".
TEST(ClassifyCreditsTest, EndDotIsACharacterNotBytes) {
  EXPECT_EQ(Classify("\x83\x81" "E"), TextList{"\x83\x81" "E"});
  EXPECT_EQ(Classify("\x83\x81" "E\x81\x45"), TextList{"\x83\x81" "E"});
}

TEST(ClassifyCreditsTest, MarkDecidesWhetherTheSeparatorSplits) {
  ContributorListScope scope;
  // No mark in the text: one credit; the separator is only punctuation.
  EXPECT_EQ(ClassifyCredits("青木／赤井"_sj, "#", "／"_sj, ""), 1);
  // A mark of its own: the separator splits, the mark becomes a space.
  EXPECT_EQ(ClassifyCredits("青木,赤井#x"_sj, "#", ",", ""), 2);
  EXPECT_EQ(ContributorList(), (TextList{Text("青木 赤井"_sj), Text("青木"_sj),
                                         Text("赤井 x"_sj)}));
}

TEST(ClassifyCreditsTest, SubSeparatorGivesEveryPieceTheRole) {
  const CreditCase cases[] = {
      {"青木、赤井 監修"_sj, {"青木 [監修]"_sj, "赤井 [監修]"_sj}},
      {"青木、、赤井、 他 監修"_sj, {"青木 [監修]"_sj, "赤井 [監修]"_sj}},
      {"青木、ほか"_sj, {"青木"_sj}},
      {"、"_sj, {}},
  };
  for (const CreditCase& c : cases) {
    ContributorListScope scope;
    int count = ClassifyCredits(c.text, "#", "／"_sj, "、"_sj);
    EXPECT_EQ(ContributorList(), Texts(c.entries)) << c.text;
    EXPECT_EQ(count, static_cast<int>(c.entries.size())) << c.text;
  }
}

TEST(ClassifyCreditsTest, AppendsToWhatTheListHolds) {
  ContributorListScope scope;
  ContributorList().push_back("x");
  EXPECT_EQ(ClassifyCredits("青木"_sj, "／"_sj, "／"_sj, ""), 1);
  EXPECT_EQ(ContributorList(), (TextList{"x", Text("青木"_sj)}));
}

}  // namespace
}  // namespace orvel
