#include "main/parse_item_page.h"

#include "Wait/wait_window.h"
#include "common/book_record.h"
#include "dataset/contributor_list.h"
#include "dataset/private_step.h"
#include "main/description_section.h"
#include "main/notes_blocks.h"
#include "main/release_date.h"
#include "main/title_heading.h"
#include "platform/platform.h"
#include "text/text.h"
#include "text/text_helpers.h"

namespace orvel {

namespace {

// What one call works on besides the book record.
struct ItemPage {
  Platform& platform;
  TextList lines;
  std::string_view cover_marker;
  bool title_found = false;
  Text content_information;
};

// What line i must hold for a rule to apply (byte search).
struct MarkerTest {
  enum class Kind { kMarker, kEitherMarker, kCoverMarkerAndMarker };
  Kind kind;
  std::string_view marker;
  std::string_view other_marker = {};

  bool HeldBy(std::string_view line, std::string_view cover_marker) const {
    switch (kind) {
      case Kind::kMarker:
        return Contains(line, marker);
      case Kind::kEitherMarker:
        return Contains(line, marker) || Contains(line, other_marker);
      case Kind::kCoverMarkerAndMarker:
        return Contains(line, cover_marker) && Contains(line, marker);
    }
    return false;
  }
};

constexpr MarkerTest LineHolds(std::string_view marker) {
  return {MarkerTest::Kind::kMarker, marker};
}
constexpr MarkerTest LineHoldsEither(std::string_view marker, std::string_view other) {
  return {MarkerTest::Kind::kEitherMarker, marker, other};
}
constexpr MarkerTest LineHoldsCoverMarkerAnd(std::string_view marker) {
  return {MarkerTest::Kind::kCoverMarkerAndMarker, marker};
}

// A line's value between the category markers, tabs removed, markup stripped.
Text CategoryValue(std::string_view line) {
  return StripMarkup(TextBetween(RemoveAll(line, "\t"), "categoryValue\">", "</span>"));
}

// The rules. Each works on its own copy of line i (or of the lines after it)
// and never moves the current line.

void TitleHeading(ItemPage& page, std::size_t i) {
  SplitTitleHeading(page.lines[i]);
  page.title_found = true;
}

void DescriptionSection(ItemPage& page, std::size_t i) {
  ScanDescriptionSection(page.platform, page.lines, i);
}

void Size(ItemPage& page, std::size_t i) {
  BaseField(16) = FullWidthAlnumToAscii(CategoryValue(page.lines[i]));
}

// The label replaces the subtitle that the title heading stored.
void Label(ItemPage& page, std::size_t i) {
  BaseField(14) = StripMarkup(TextBetween(RemoveAll(page.lines[i], "\t"), ">", "<"));
}

void PageCount(ItemPage& page, std::size_t i) {
  BaseField(35) = RemoveAll(CategoryValue(page.lines[i]), "p");
}

// The count stands on the next line; tabs stay.
void DiscCount(ItemPage& page, std::size_t i) {
  BaseField(35) = StripMarkup(RemoveAll(page.lines[i + 1], "枚"_sj));
}

void ReleaseDate(ItemPage& page, std::size_t i) {
  NormalizeReleaseDate(CategoryValue(page.lines[i]));
}

// The first price of the page counts, and one the run put there first.
void Price(ItemPage& page, std::size_t i) {
  Text line = RemoveAll(RemoveAll(RemoveAll(page.lines[i], "\t"), " "), ",");
  Text price = StripMarkup(TextBetween(line, "\">", "円</span>"_sj));
  if (BaseField(21).empty()) BaseField(21) = price;
}

// The store's placeholder picture is no cover.
void CoverImage(ItemPage& page, std::size_t i) {
  Text address = "http://" + TextBetween(page.lines[i], "<a href=\"//", "\" onclick=");
  if (!Contains(address, "noimage")) BaseField(37) = address;
}

void ContentInformation(ItemPage& page, std::size_t i) {
  AppendContentInformation(page.lines, i, &page.content_information);
}

void RunningTime(ItemPage& page, std::size_t i) { AppendRunningTime(page.lines, i); }

void RuledBlock(ItemPage& page, std::size_t i) { AppendRuledBlock(page.lines, i); }

void ShadedTable(ItemPage& page, std::size_t i) { AppendShadedTable(page.lines, i); }

struct Rule {
  MarkerTest test;
  void (*apply)(ItemPage& page, std::size_t current);
};

// Every rule is tried on every current line, in this order; a line can
// trigger several.
const Rule kRuleTable[] = {
    {LineHolds("<h1 itemprop=\"name\">"),                     TitleHeading},
    {LineHolds("<div id=\"productDetailedDescription"),       DescriptionSection},
    {LineHolds("サイズ"_sj),                                   Size},
    {LineHolds("item-c-label"),                               Label},
    {LineHolds("ページ数"_sj),                                 PageCount},
    {LineHolds("ディスク枚数："_sj),                           DiscCount},
    {LineHoldsEither("発行年月"_sj, ">発売日<"_sj),             ReleaseDate},
    {LineHolds("itemprop=\"price\""),                         Price},
    {LineHoldsCoverMarkerAnd("class=\"photo\""),              CoverImage},
    {LineHolds("【内容情報】"_sj),                             ContentInformation},
    {LineHolds("<b>収録時間</b>："_sj),                        RunningTime},
    {LineHolds("<font color=\"#ffffff\">----------</font>"),  RuledBlock},
    {LineHolds(" bgcolor=\"#EEEECC\">"),                      ShadedTable},
};

struct PageEntity {
  std::string_view entity;
  std::string_view replacement;
};

// In this order: "&amp;" first, so that what the store escaped twice
// ("&amp;lt;") ends as markup too.
const PageEntity kPageEntities[] = {
    {"&amp;", "&"},
    {"&quot;", "”"_sj},
    {"&lt;", "<"},
    {"&gt;", ">"},
};

// The page as Shift-JIS lines, entities decoded.
TextList LoadPageLines(const std::string& contents) {
  Text page = EucJpToShiftJis(JoinLines(SplitLines(contents)));
  for (const PageEntity& entity : kPageEntities) {
    page = ReplaceAll(page, entity.entity, entity.replacement);
  }
  return SplitLines(page);
}

// The last two lines are never the current line; the rules read them as the
// lines after it.
void ApplyRuleTable(ItemPage& page) {
  const std::size_t count = page.lines.size();
  if (count < 3) return;
  for (std::size_t i = 0; i + 2 < count; ++i) {
    if (StopRequested()) return;
    for (const Rule& rule : kRuleTable) {
      if (rule.test.HeldBy(page.lines[i], page.cover_marker)) rule.apply(page, i);
    }
  }
}

void FinishNotes() {
  BaseField(36) = Trim(ReplaceAll(BaseField(36), "　"_sj, " "));
}

}  // namespace

bool ParseItemPage(Platform& platform, const std::string& page_path,
                   std::string_view cover_marker) {
  ContributorListScope contributors;
  if (!platform.FileExists(page_path)) return false;
  std::string contents;
  // A page that cannot be read is skipped like a missing one.
  if (!platform.ReadWholeFile(page_path, &contents)) return false;

  ItemPage page{platform, LoadPageLines(contents), cover_marker, false, Text()};
  contents = std::string();
  ApplyRuleTable(page);
  if (!page.title_found) return false;

  FinishNotes();
  ApplyPrivateStep(platform, page_path + ".orvel_private", "", page.content_information);
  return true;
}

}  // namespace orvel
