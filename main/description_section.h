// The description section of the item page: release-date list items,
// contributor credits and the publisher link.
#ifndef ORVEL_MAIN_DESCRIPTION_SECTION_H_
#define ORVEL_MAIN_DESCRIPTION_SECTION_H_

#include <cstddef>

#include "text/text.h"

namespace orvel {

class Platform;

// Walks the section that opens at line `current` up to its "</div>" line
// (or the page's last line), without moving the parser's current line.
void ScanDescriptionSection(Platform& platform, const TextList& lines,
                            std::size_t current);

}  // namespace orvel

#endif  // ORVEL_MAIN_DESCRIPTION_SECTION_H_
