// How far the multi-line rules of the item page (the description section,
// ruled blocks and shaded tables) read on from their opening line.
#ifndef ORVEL_MAIN_SECTION_SCAN_H_
#define ORVEL_MAIN_SECTION_SCAN_H_

#include <algorithm>
#include <cstddef>

#include "text/text.h"

namespace orvel {

// Sections are read again from every line inside them, so a page of many
// opening lines without their closing lines would cost time and memory that
// grow with the square of its length. A real section is a few dozen lines;
// no scan reads more than this many lines past its opening line.
inline constexpr std::size_t kSectionScanLineLimit = 200;

// One past the last line a scan that opens at `first` may read.
inline std::size_t SectionScanEnd(const TextList& lines, std::size_t first) {
  return std::min(lines.size(), first + kSectionScanLineLimit + 1);
}

// The notes field stops taking pieces past this size, for the same reason.
inline constexpr std::size_t kNotesLimit = 64 * 1024;

}  // namespace orvel

#endif  // ORVEL_MAIN_SECTION_SCAN_H_
