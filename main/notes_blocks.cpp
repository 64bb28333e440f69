#include "main/notes_blocks.h"

#include "common/book_record.h"
#include "main/section_scan.h"
#include "text/text_helpers.h"

namespace orvel {

namespace {

constexpr std::string_view kShadedTableMarker = " bgcolor=\"#EEEECC\">";
constexpr std::string_view kRuleMarker = " noshade>";
constexpr std::string_view kTableEnd = "</table>";

// The line after the current one; empty when the page has none.
Text NextLine(const TextList& lines, std::size_t current) {
  return current + 1 < lines.size() ? lines[current + 1] : Text();
}

}  // namespace

void AppendNotes(std::string_view piece) {
  Text& notes = BaseField(36);
  if (notes.size() > kNotesLimit) return;
  notes.append("\r\n");
  notes.append(piece);
}

void AppendContentInformation(const TextList& lines, std::size_t current,
                              Text* content_information) {
  *content_information = StripMarkup(NextLine(lines, current));
  AppendNotes(Text("メーカー品番："_sj) + *content_information);
}

void AppendRunningTime(const TextList& lines, std::size_t current) {
  AppendNotes(Text("収録時間："_sj) + StripMarkup(NextLine(lines, current)));
}

// The lines after the rule up to the next table or rule line, which is not
// taken; a page that ends first gives the lines up to its end.
void AppendRuledBlock(const TextList& lines, std::size_t current) {
  Text block;
  const std::size_t end = SectionScanEnd(lines, current);
  for (std::size_t k = current + 1; k < end; ++k) {
    if (Contains(lines[k], kShadedTableMarker) || Contains(lines[k], kRuleMarker)) break;
    block.append(lines[k]);
  }
  block = ReplaceAll(RemoveAll(block, "\t"), "<br>", "\r\n");
  AppendNotes(StripMarkup(block));
}

// The table from its shaded line up to its "</table>" line, taken in; a page
// that ends first gives the lines up to its end. Each definition starts a
// line of its own, indented.
void AppendShadedTable(const TextList& lines, std::size_t current) {
  if (current >= lines.size()) return;
  Text table = lines[current];
  if (!Contains(table, kTableEnd)) {
    const std::size_t end = SectionScanEnd(lines, current);
    for (std::size_t k = current + 1; k < end; ++k) {
      table.append(lines[k]);
      if (Contains(lines[k], kTableEnd)) break;
    }
  }
  table = RemoveAll(table, "\t");
  table = ReplaceAll(table, "<br>", "\r\n");
  table = ReplaceAll(table, "<dt>", "\r\n");
  table = ReplaceAll(table, "<dd>", Text("\r\n") + Text("　"_sj));
  AppendNotes(StripMarkup(TextBetween(table, kShadedTableMarker, kTableEnd)));
}

}  // namespace orvel
