#include "main/notes_blocks.h"

namespace orvel {

// Not yet read: the notes blocks give nothing.
void AppendNotes(std::string_view /*piece*/) {}
void AppendContentInformation(const TextList& /*lines*/, std::size_t /*current*/,
                              Text* /*content_information*/) {}
void AppendRunningTime(const TextList& /*lines*/, std::size_t /*current*/) {}
void AppendRuledBlock(const TextList& /*lines*/, std::size_t /*current*/) {}
void AppendShadedTable(const TextList& /*lines*/, std::size_t /*current*/) {}

}  // namespace orvel
