// The notes blocks of the item page (content information, running time,
// ruled blocks and shaded tables), each appended as one piece to the notes
// field 36.
#ifndef ORVEL_MAIN_NOTES_BLOCKS_H_
#define ORVEL_MAIN_NOTES_BLOCKS_H_

#include <cstddef>
#include <string_view>

#include "text/text.h"

namespace orvel {

// Field 36 := field 36 + CR LF + piece.
void AppendNotes(std::string_view piece);

// Each takes the page and the parser's current line, which it does not move.
// The content information also becomes `content_information`.
void AppendContentInformation(const TextList& lines, std::size_t current,
                              Text* content_information);
void AppendRunningTime(const TextList& lines, std::size_t current);
void AppendRuledBlock(const TextList& lines, std::size_t current);
void AppendShadedTable(const TextList& lines, std::size_t current);

}  // namespace orvel

#endif  // ORVEL_MAIN_NOTES_BLOCKS_H_
