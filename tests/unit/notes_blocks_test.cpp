// The notes blocks of the item page: each appends one piece to field 36,
// reading the lines after the current one without running past the page.
#include "main/notes_blocks.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "common/book_record.h"
#include "text/text.h"

namespace orvel {
namespace {

TextList Lines(const std::vector<std::string_view>& lines) {
  return TextList(lines.begin(), lines.end());
}

class NotesBlocksTest : public testing::Test {
 protected:
  void SetUp() override { ClearBase(); }
  void TearDown() override { ClearBase(); }
};

TEST_F(NotesBlocksTest, AppendNotesPutsALineBreakFirstAlways) {
  AppendNotes("A");
  EXPECT_EQ(BaseField(36), "\r\nA");
  AppendNotes("");
  AppendNotes("B");
  EXPECT_EQ(BaseField(36), "\r\nA\r\n\r\nB");
}

TEST_F(NotesBlocksTest, ContentInformationIsTheNextLineAndTheLastBlockWins) {
  const TextList page = Lines({"<b>【内容情報】</b>"_sj, "<p>ABC-123</p>", "x",
                               "<b>【内容情報】</b>"_sj, "<p>DEF&lt;4&gt;</p>", "y"});
  Text content_information = "old";
  AppendContentInformation(page, 0, &content_information);
  EXPECT_EQ(content_information, "ABC-123");
  AppendContentInformation(page, 3, &content_information);
  EXPECT_EQ(content_information, "DEF<4>");
  EXPECT_EQ(BaseField(36), "\r\nメーカー品番：ABC-123\r\nメーカー品番：DEF<4>"_sj);
}

TEST_F(NotesBlocksTest, RunningTimeIsTheNextLine) {
  AppendRunningTime(Lines({"<b>収録時間</b>："_sj, "<span>120分</span>"_sj, ""}), 0);
  EXPECT_EQ(BaseField(36), "\r\n収録時間：120分"_sj);
}

TEST_F(NotesBlocksTest, NextLineMissingGivesAnEmptyText) {
  Text content_information = "old";
  AppendContentInformation(Lines({"【内容情報】"_sj}), 0, &content_information);
  AppendRunningTime(Lines({"<b>収録時間</b>："_sj}), 0);
  EXPECT_EQ(content_information, "");
  EXPECT_EQ(BaseField(36), "\r\nメーカー品番：\r\n収録時間："_sj);
}

struct BlockCase {
  const char* name;
  std::vector<std::string_view> page;  // the block opens on line 0
  std::string_view piece;
};

TEST_F(NotesBlocksTest, RuledBlockRunsToTheNextTableOrRule) {
  const BlockCase cases[] = {
      {"up to a shaded table line, not joined",
       {"<font color=\"#ffffff\">----------</font>", "<td>\t仕様<br>"_sj, "本体</td>"_sj,
        "<table bgcolor=\"#EEEECC\">x</table>", "after"},
       "仕様\r\n本体"_sj},
      {"up to a rule line",
       {"<font color=\"#ffffff\">----------</font>", "a<br>", "b", "<hr size=\"1\" noshade>",
        "c"},
       "a\r\nb"},
      {"page ends first: the lines up to the end", {"<font color=\"#ffffff\">----------</font>",
        "a", "b<br>c"},
       "ab\r\nc"},
      {"the rule is the last line", {"<font color=\"#ffffff\">----------</font>"}, ""},
  };
  for (const BlockCase& c : cases) {
    ClearBase();
    AppendRuledBlock(Lines(c.page), 0);
    EXPECT_EQ(BaseField(36), "\r\n" + Text(c.piece)) << c.name;
  }
}

TEST_F(NotesBlocksTest, ShadedTableRunsToItsTableEnd) {
  const BlockCase cases[] = {
      {"definitions on lines of their own, indented",
       {"<table width=\"100%\" bgcolor=\"#EEEECC\"><tr><td><dl>",
        "<dt>\t判型</dt><dd>B6</dd>"_sj, "<dt>付録</dt><dd>CD<br>1枚</dd>"_sj,
        "</dl></td></tr></table>", "<p>after</p>"},
       "\r\n判型\r\n　B6\r\n付録\r\n　CD\r\n1枚"_sj},
      {"the table on one line", {"<table bgcolor=\"#EEEECC\"><dt>a</dt></table>", "<dt>b"},
       "\r\na"},
      {"page ends first: the lines up to the end",
       {"<table bgcolor=\"#EEEECC\">", "<dt>a", "<dd>b"}, "\r\na\r\n　b"_sj},
      {"text before the shaded cell is not taken",
       {"<p>before</p><table bgcolor=\"#EEEECC\">in", "</table>"}, "in"},
  };
  for (const BlockCase& c : cases) {
    ClearBase();
    AppendShadedTable(Lines(c.page), 0);
    EXPECT_EQ(BaseField(36), "\r\n" + Text(c.piece)) << c.name;
  }
}

TEST_F(NotesBlocksTest, BlocksReadFromTheCurrentLineOnly) {
  const TextList page = Lines({"<table bgcolor=\"#EEEECC\">first</table>",
                               "<p>between</p>",
                               "<table bgcolor=\"#EEEECC\">second</table>"});
  AppendShadedTable(page, 2);
  AppendRuledBlock(page, 0);  // stops at the table on line 2
  EXPECT_EQ(BaseField(36), "\r\nsecond\r\nbetween");
}

}  // namespace
}  // namespace orvel
