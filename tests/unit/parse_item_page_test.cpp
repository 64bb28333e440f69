// The item page parser: its rule table, its loop and its finishing step, on
// pages in the store's EUC-JP.
#include "main/parse_item_page.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "Wait/wait_window.h"
#include "common/book_record.h"
#include "platform/platform_fake.h"
#include "tests/unit/euc_jp_page.h"

namespace orvel {
namespace {

constexpr const char* kPagePath = "/work/Temp.html";
constexpr std::string_view kCoverMarker = "<dt><a href=\"//images.test/book/cabinet/";

// A heading and two lines after it, so that the heading is a current line.
constexpr std::string_view kHeading = "<h1 itemprop=\"name\">ABC</h1>";
constexpr std::string_view kFiller = "</div>";

class ParseItemPageTest : public ::testing::Test {
 protected:
  void SetUp() override { ClearBase(); }

  bool Parse(const std::string& page) {
    platform_.files[kPagePath] = page;
    return ParseItemPage(platform_, kPagePath, kCoverMarker);
  }
  bool Parse(std::initializer_list<std::string_view> lines) {
    return Parse(EucJpPage(lines));
  }

  FakePlatform platform_;
};

TEST_F(ParseItemPageTest, FillsTheRecordFromAnItemPage) {
  ASSERT_TRUE(Parse({
      "<div class=\"itemImage\"><dl>",
      "\t<dt><a href=\"//images.test/book/cabinet/6789/9784123456789.jpg\" "
      "onclick=\"return openPhoto(this);\" class=\"photo\"><img src=\"x.jpg\"></a></dt>",
      "</dl></div>",
      "\t<h1 itemprop=\"name\">星降る街の探偵（3）<span class=\"subTitle\">（新装版）"
      "</span></h1>"_sj,
      "\t<span class=\"price\" itemprop=\"price\" content=\"1320\">1,320円</span>"_sj,
      "<li><span class=\"categoryName\">サイズ</span>"
      "<span class=\"categoryValue\">\tＢ６判</span></li>"_sj,
      "<li><span class=\"categoryName\">ページ数</span>"
      "<span class=\"categoryValue\">192p</span></li>"_sj,
      "<li><span class=\"categoryName\">発売日</span>"
      "<span class=\"categoryValue\">2008年05月20日</span></li>"_sj,
      "</ul>",
      "</div>",
  }));
  EXPECT_EQ(BaseField(2), "星降る街の探偵"_sj);
  EXPECT_EQ(BaseField(5), "3");
  EXPECT_EQ(BaseField(14), "新装版"_sj);
  EXPECT_EQ(BaseField(16), "B6判"_sj);
  EXPECT_EQ(BaseField(21), "1320");
  EXPECT_EQ(BaseField(25), "2008");
  EXPECT_EQ(BaseField(26), "05");
  EXPECT_EQ(BaseField(27), "20");
  EXPECT_EQ(BaseField(35), "192");
  EXPECT_EQ(BaseField(37), "http://images.test/book/cabinet/6789/9784123456789.jpg");
}

// The last two lines are read by rules but are never the current line.
TEST_F(ParseItemPageTest, HeadingCountsOnlyBeforeTheLastTwoLines) {
  struct LoopCase {
    std::vector<std::string_view> lines;
    bool item_page;
  };
  const LoopCase cases[] = {
      {{kHeading, kFiller, kFiller}, true},
      {{kFiller, kHeading, kFiller}, false},
      {{kFiller, kFiller, kHeading}, false},
      {{kHeading, kFiller}, false},
      {{kHeading}, false},
      {{}, false},
  };
  for (const LoopCase& c : cases) {
    ClearBase();
    std::string page;
    for (std::string_view line : c.lines) page += std::string(line) + "\r\n";
    EXPECT_EQ(Parse(page), c.item_page) << page;
  }
}

TEST_F(ParseItemPageTest, LinesBreakAtCrLfCrAndLf) {
  for (std::string_view line_break : {"\r\n", "\r", "\n"}) {
    ClearBase();
    EXPECT_TRUE(Parse(EucJpPage({kHeading, kFiller, kFiller}, line_break)));
    EXPECT_EQ(BaseField(2), "ABC");
  }
}

TEST_F(ParseItemPageTest, FirstPriceOfThePageCounts) {
  const std::string_view first = "<span itemprop=\"price\">1,320円</span>"_sj;
  const std::string_view second = "<span itemprop=\"price\">990円</span>"_sj;
  ASSERT_TRUE(Parse({kHeading, first, second, kFiller, kFiller}));
  EXPECT_EQ(BaseField(21), "1320");

  ClearBase();
  BaseField(21) = "600";  // from a combined code, before the page
  ASSERT_TRUE(Parse({kHeading, first, kFiller, kFiller}));
  EXPECT_EQ(BaseField(21), "600");
}

TEST_F(ParseItemPageTest, CoverImageIsTheLastOneThatIsNoPlaceholder) {
  auto cover = [](std::string file, std::string host = "images.test") {
    return "<dt><a href=\"//" + host + "/book/cabinet/" + file +
           "\" onclick=\"return openPhoto(this);\" class=\"photo\"><img></a></dt>";
  };
  const std::string no_photo_class =
      "<dt><a href=\"//images.test/book/cabinet/c.jpg\" onclick=\"x\"><img></a></dt>";
  struct CoverCase {
    std::vector<std::string> lines;
    std::string address;
  };
  const CoverCase cases[] = {
      {{cover("a.jpg"), cover("b.jpg")}, "http://images.test/book/cabinet/b.jpg"},
      {{cover("a.jpg"), cover("noimage_01.gif")}, "http://images.test/book/cabinet/a.jpg"},
      {{cover("noimage_01.gif")}, "before"},
      {{no_photo_class}, "before"},
      {{cover("a.jpg", "other.test")}, "before"},
  };
  for (const CoverCase& c : cases) {
    ClearBase();
    BaseField(37) = "before";
    std::string page = std::string(kHeading) + "\n";
    for (const std::string& line : c.lines) page += line + "\n";
    page += "</div>\n</div>\n";
    ASSERT_TRUE(Parse(page));
    EXPECT_EQ(BaseField(37), c.address) << c.lines.back();
  }
}

// Every rule tests and cuts the line as the page holds it.
TEST_F(ParseItemPageTest, OneLineCanTriggerSeveralRules) {
  ASSERT_TRUE(Parse({
      kHeading,
      "ページ数 ディスク枚数：<span class=\"categoryValue\">120p</span>"_sj,
      "\t2枚"_sj,
      "サイズ ページ数<span class=\"categoryValue\">Ａ５ 64p</span>"_sj,
      kFiller,
      kFiller,
  }));
  // The disc count of the line after the first comes second and wins there,
  // tabs kept; the later line's page count wins in the end.
  EXPECT_EQ(BaseField(16), "A5 64p");
  EXPECT_EQ(BaseField(35), "Ａ５ 64"_sj);

  ClearBase();
  ASSERT_TRUE(Parse({
      kHeading,
      "ページ数 ディスク枚数：<span class=\"categoryValue\">120p</span>"_sj,
      "\t2枚"_sj,
      kFiller,
  }));
  EXPECT_EQ(BaseField(35), "\t2");
}

TEST_F(ParseItemPageTest, LabelReplacesTheSubtitle) {
  const std::string_view heading =
      "<h1 itemprop=\"name\">ABC<span class=\"subTitle\">（新装版）</span></h1>"_sj;
  const std::string_view label = "\t<span class=\"item-c-label\">見本文庫</span>"_sj;
  struct LabelCase {
    std::vector<std::string_view> lines;
    std::string_view field_14;
  };
  const LabelCase cases[] = {
      {{heading, label}, "見本文庫"_sj},
      {{heading}, "新装版"_sj},
      {{label, heading}, "新装版"_sj},
      {{label, kHeading}, ""},  // even an empty subtitle
  };
  for (const LabelCase& c : cases) {
    ClearBase();
    std::string page;
    for (std::string_view line : c.lines) page += std::string(line) + "\n";
    ASSERT_TRUE(Parse(ShiftJisToEucJp(page + "</div>\n</div>\n")));
    EXPECT_EQ(BaseField(14), c.field_14);
  }
}

// "&amp;" is decoded first, over the whole page, so that what the store
// escaped twice ends as markup.
TEST_F(ParseItemPageTest, EntitiesDecodedOverThePage) {
  struct EntityCase {
    std::string_view heading;
    std::string_view title;
  };
  const EntityCase cases[] = {
      {"A&amp;B", "A&B"},
      {"A&quot;B", "A”B"_sj},
      {"A&amp;quot;B", "A”B"_sj},
      {"A&amp;amp;B", "A&amp;B"},
      {"A&amp;lt;i&amp;gt;B", "AB"},  // became a tag, then stripped
      {"1 &amp;lt; 2", "1 "},
      {"A&gt;B", "B"},
  };
  for (const EntityCase& c : cases) {
    ClearBase();
    const std::string heading = "<h1 itemprop=\"name\">" + std::string(c.heading) + "</h1>";
    ASSERT_TRUE(Parse({heading, kFiller, kFiller}));
    EXPECT_EQ(BaseField(2), c.title) << c.heading;
  }
}

TEST_F(ParseItemPageTest, StopRequestedBeforeTheCallExaminesNoLine) {
  static FakePlatform window_platform;
  CreateWaitWindow(window_platform).BtnStopClick();
  const bool item_page =
      Parse({kHeading, "<span class=\"categoryValue\">B6</span>サイズ"_sj, kFiller, kFiller});
  ClearStopRequest();
  EXPECT_FALSE(item_page);
  EXPECT_EQ(BaseField(16), "");
}

TEST_F(ParseItemPageTest, MissingOrUnreadablePageIsNoItemPage) {
  BaseField(17) = "address";
  EXPECT_FALSE(ParseItemPage(platform_, kPagePath, kCoverMarker));
  platform_.unreadable_files[kPagePath] = true;
  EXPECT_FALSE(ParseItemPage(platform_, kPagePath, kCoverMarker));
  EXPECT_EQ(BaseField(17), "address");
}

TEST_F(ParseItemPageTest, NotesAreFinished) {
  BaseField(36) = "\r\nA　B\r\n\r\nC　"_sj;  // pieces as the notes blocks append them
  ASSERT_TRUE(Parse({kHeading, kFiller, kFiller}));
  EXPECT_EQ(BaseField(36), "A B\r\n\r\nC");
}

TEST_F(ParseItemPageTest, PrivateMarkerFileNextToThePage) {
  const std::string_view size = "サイズ<span class=\"categoryValue\">文庫</span>"_sj;
  BaseField(17) = "address";
  ASSERT_TRUE(Parse({kHeading, size, kFiller, kFiller}));
  EXPECT_EQ(BaseField(16), "文庫"_sj);
  EXPECT_EQ(BaseField(17), "address");

  platform_.files[std::string(kPagePath) + ".orvel_private"] = "";
  ASSERT_TRUE(Parse({kHeading, size, kFiller, kFiller}));
  EXPECT_EQ(BaseField(16), "A6");
  EXPECT_EQ(BaseField(17), "");
}

// A zero byte ends the page text.
TEST_F(ParseItemPageTest, ZeroByteEndsThePage) {
  EXPECT_FALSE(Parse(std::string("x\n\0\n", 4) + std::string(kHeading) + "\n\n\n"));
  ClearBase();
  EXPECT_TRUE(Parse(std::string(kHeading) + "\n\n\n" + std::string("\0<h1 itemprop=", 15)));
  EXPECT_EQ(BaseField(2), "ABC");
}

// Pages no store sends; each gives its answer quickly and the run goes on.
TEST_F(ParseItemPageTest, HostilePages) {
  const std::string every_marker =
      std::string(kHeading) +
      std::string("サイズ item-c-label ページ数 ディスク枚数： 発行年月 itemprop=\"price\" "
                  "categoryValue\"><dt><a href=\"//images.test/book/cabinet/ "
                  "class=\"photo\""_sj);
  // Work that grows with the square of a line's length would take many
  // minutes on the large lines, where linear work takes a second or two.
  const std::size_t kHuge = 20 << 20;
  const std::size_t kLarge = 4 << 20;
  struct HostileCase {
    const char* what;
    std::string page;
    bool item_page;
  };
  const HostileCase cases[] = {
      {"one 20 MB line", every_marker + std::string(kHuge, 'a') + "\n\n\n", true},
      {"one 4 MB line of tags",
       every_marker + [&] {
         std::string tags;
         while (tags.size() < kLarge) tags += "<b>x</b>&amp;lt;";
         return tags;
       }() + "\n\n\n",
       true},
      {"only \"<\"", std::string(kHuge, '<'), false},
      {"only \">\" after every marker", every_marker + std::string(kLarge, '>') + "\n\n\n",
       true},
      {"lone lead byte at the end", std::string(kHeading) + "\n\n\n\xA4", true},
      {"lead byte before each line break", std::string(kHeading) + "\xA4\n\xA4\n\xA4\n\xA4",
       true},
      {"0x8F three-byte forms", std::string(kHeading) + "\x8F\xB0\xA1\n\x8F\n\x8F\n\n\n",
       true},
      {"0x8E at the end", std::string(kHeading) + "\n\n\n\x8E", true},
      {"zero bytes", std::string(1000, '\0') + std::string(kHeading) + "\n\n\n", false},
      {"only line breaks", std::string(1 << 20, '\n'), false},
  };
  for (const HostileCase& c : cases) {
    ClearBase();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Parse(c.page), c.item_page) << c.what;
    const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start);
    EXPECT_LT(seconds.count(), 120.0) << c.what;
  }
}

}  // namespace
}  // namespace orvel
