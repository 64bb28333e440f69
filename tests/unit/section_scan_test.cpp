// The bounds of the multi-line rules: how far a section is read, and how
// much the notes field takes, so that a page of many unclosed sections
// cannot make the work grow with the square of its length.
#include "main/section_scan.h"

#include <gtest/gtest.h>

#include "common/book_record.h"
#include "dataset/contributor_list.h"
#include "main/description_section.h"
#include "main/notes_blocks.h"
#include "platform/platform_fake.h"

namespace orvel {
namespace {

// A section opening at line 0 whose only date stands `distance` lines on.
TextList SectionWithDateAt(std::size_t distance) {
  TextList lines{"<div id=\"productDetailedDescription\">"};
  lines.resize(distance, "<p>text</p>");
  lines.push_back("<li>2008/05/20</li>");
  return lines;
}

TEST(SectionScanTest, DescriptionSectionReadsAtMostTheLimit) {
  FakePlatform platform;
  const std::pair<std::size_t, std::string> cases[] = {
      {kSectionScanLineLimit, "2008"},      // the last line a scan reads
      {kSectionScanLineLimit + 1, "keep"},  // one past it
  };
  for (const auto& [distance, year] : cases) {
    ClearBase();
    BaseField(25) = "keep";
    ContributorListScope scope;
    ScanDescriptionSection(platform, SectionWithDateAt(distance), 0);
    EXPECT_EQ(BaseField(25), year) << distance;
  }
}

TEST(SectionScanTest, RuledBlockAndShadedTableReadAtMostTheLimit) {
  TextList lines{"<font color=\"#ffffff\">----------</font>"};
  for (std::size_t k = 1; k <= kSectionScanLineLimit + 5; ++k) lines.push_back("x");
  ClearBase();
  AppendRuledBlock(lines, 0);
  EXPECT_EQ(BaseField(36), "\r\n" + std::string(kSectionScanLineLimit, 'x'));

  lines[0] = "<table bgcolor=\"#EEEECC\">";
  ClearBase();
  AppendShadedTable(lines, 0);
  EXPECT_EQ(BaseField(36), "\r\n" + std::string(kSectionScanLineLimit, 'x'));
}

TEST(SectionScanTest, NotesStopGrowingPastTheirLimit) {
  ClearBase();
  const std::string piece(1000, 'n');
  for (int i = 0; i < 1000; ++i) AppendNotes(piece);
  EXPECT_GT(BaseField(36).size(), kNotesLimit);
  EXPECT_LE(BaseField(36).size(), kNotesLimit + piece.size() + 2);
}

}  // namespace
}  // namespace orvel
