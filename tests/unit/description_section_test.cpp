// The description section: list items as release dates, contributor lines
// into the contributor fields with the field 8 fallback, the publisher link,
// and where the section ends.
#include "main/description_section.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "common/book_record.h"
#include "dataset/author_dictionary.h"
#include "dataset/contributor_list.h"
#include "platform/platform_fake.h"
#include "text/text.h"

namespace orvel {
namespace {

constexpr std::string_view kOpening = "<div id=\"productDetailedDescription\" class=\"box\">";

TextList Lines(const std::vector<std::string_view>& lines) {
  return TextList(lines.begin(), lines.end());
}

Text AuthorLine(std::string_view credits) {
  return "<span class=\"item-c-author\">" + Text(credits) + "</span>";
}

class DescriptionSectionTest : public testing::Test {
 protected:
  void SetUp() override {
    ClearBase();
    FreeAuthDB();
  }
  void TearDown() override { ClearBase(); }

  void Scan(const TextList& lines, std::size_t current = 0) {
    ContributorListScope scope;
    ScanDescriptionSection(platform_, lines, current);
  }

  FakePlatform platform_;
};

TEST_F(DescriptionSectionTest, DatesContributorsAndPublisherUpToTheSectionEnd) {
  BaseField(25) = "old";
  Scan(Lines({
      "<li>1999年01月01日</li>"_sj,  // before the current line: not read
      kOpening,
      "\t<ul><li>2021年03月15日</li></ul>"_sj,
      "<span class=\"item-c-author\">\t<a href=\"/a/1\">青木 著</a>,"
      " <a href=\"/a/2\">赤井 イラスト</a></span><br>"_sj,
      "<span class=\"item-c-maker-magazine\"><a href=\"/p/1\" onclick=\"t(1)\">見本<b>出版</b></a></span>"_sj,
      "<a class=\"bpbls\" href=\"/p/2\" onclick=\"t(2)\">別出版</a>"_sj,
      "</div>",
      "<li>2030年12月31日</li>"_sj,
      AuthorLine("緑川 監修"_sj),
  }), 1);
  EXPECT_EQ(BaseField(25), "2021");
  EXPECT_EQ(BaseField(26), "03");
  EXPECT_EQ(BaseField(27), "15");
  EXPECT_EQ(BaseField(6), "青木"_sj);
  EXPECT_EQ(BaseField(8), "赤井"_sj);
  EXPECT_EQ(BaseField(10), "");
  EXPECT_EQ(BaseField(13), "見本出版"_sj);  // the second link leaves it
}

TEST_F(DescriptionSectionTest, OpeningLineWithSectionEndYieldsNothing) {
  BaseField(25) = "old";
  Scan(Lines({Text(kOpening) + Text("<li>2021年03月15日</li></div>"_sj),
              "<li>2022年01月01日</li>"_sj}));
  EXPECT_EQ(BaseField(25), "old");
}

TEST_F(DescriptionSectionTest, EveryListItemRewritesTheYear) {
  Scan(Lines({kOpening, "<li>2021年03月15日</li>"_sj, "<li>全1巻</li>"_sj, "</div>"}));
  EXPECT_EQ(BaseField(25), "");  // not a date: the year goes
  EXPECT_EQ(BaseField(26), "03");
  EXPECT_EQ(BaseField(27), "15");
}

TEST_F(DescriptionSectionTest, ListItemStepStripsTheClassNamesAway) {
  Scan(Lines({kOpening, "<li>" + AuthorLine("青木 著"_sj) + "</li>",
              "<li><a class=\"bpbls\" onclick=\"t(1)\">見本出版</a></li>"_sj, "</div>"}));
  EXPECT_EQ(BaseField(6), "");
  EXPECT_EQ(BaseField(13), "");
}

struct FallbackCase {
  const char* name;
  std::string_view credits;
  std::string_view field_6;
  std::string_view field_8;
};

TEST_F(DescriptionSectionTest, SecondContributorFallback) {
  const FallbackCase cases[] = {
      {"one contributor: the whole text", "青木 著"_sj, "青木"_sj, "青木 著"_sj},
      {"second credit gives no name: the text after the first separator",
       "青木 著, 他"_sj, "青木"_sj, " 他"_sj},
      {"second credit already stored", "青木 著／青木 画"_sj, "青木"_sj, "青木 画"_sj},
      {"two names: the contributor fields fill it", "青木 著, 赤井"_sj, "青木"_sj,
       "赤井"_sj},
      {"cut to 20 bytes", "あいうえおかきくけこさ 著"_sj, "あいうえおかきくけこさ"_sj,
       "あいうえおかきくけこ"_sj},
      // "a" and nine kana are 19 bytes; the tenth kana would end at byte 21.
      {"a character the cut would split is dropped", "aあいうえおかきくけこ 著"_sj,
       "aあいうえおかきくけこ"_sj, "aあいうえおかきくけ"_sj},
      // "＝" is 81 81 and "^" is 5E: bytes 81 5E inside them are no "／".
      {"separator found by character search", "青木＝^赤井 著"_sj, "青木＝^赤井"_sj,
       "青木＝^赤井 著"_sj},
      {"markup, > and commas", "<b>青木</b> 著&gt;,赤井&gt;"_sj, "青木"_sj, "赤井"_sj},
  };
  for (const FallbackCase& c : cases) {
    ClearBase();
    Scan(Lines({kOpening, AuthorLine(c.credits), "</div>"}));
    EXPECT_EQ(BaseField(6), c.field_6) << c.name;
    EXPECT_EQ(BaseField(8), c.field_8) << c.name;
  }
}

TEST_F(DescriptionSectionTest, EachContributorLineStartsAFreshList) {
  ContributorListScope scope;
  ContributorList().push_back(Text("古い"_sj));
  ScanDescriptionSection(platform_,
                         Lines({kOpening, AuthorLine("青木 著, 赤井 画"_sj),
                                AuthorLine("緑川 監修"_sj), "</div>"}),
                         0);
  EXPECT_EQ(BaseField(6), "青木"_sj);
  EXPECT_EQ(BaseField(8), "赤井"_sj);
  EXPECT_EQ(BaseField(10), "緑川 [監修]"_sj);
}

TEST_F(DescriptionSectionTest, FilledFieldsStay) {
  BaseField(8) = "X";
  BaseField(13) = "辞書の出版社"_sj;
  Scan(Lines({kOpening, AuthorLine("青木 著"_sj),
              "<a class=\"bpbls\" onclick=\"t(1)\">見本出版</a>"_sj, "</div>"}));
  EXPECT_EQ(BaseField(8), "X");
  EXPECT_EQ(BaseField(13), "辞書の出版社"_sj);
}

TEST_F(DescriptionSectionTest, PageEndingInsideTheSectionStopsAtTheLastLine) {
  Scan(Lines({kOpening, "<li>2021年03月15日</li>"_sj, AuthorLine("青木 著"_sj)}));
  EXPECT_EQ(BaseField(25), "2021");
  EXPECT_EQ(BaseField(6), "青木"_sj);
  Scan(Lines({}), 0);
  Scan(Lines({kOpening}), 5);
}

}  // namespace
}  // namespace orvel
