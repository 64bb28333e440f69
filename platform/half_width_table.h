// The half-width forms of Shift-JIS texts, by a table generated from
// Unicode's half-width and full-width forms, for platforms without the
// Windows locale mapping.
#ifndef ORVEL_PLATFORM_HALF_WIDTH_TABLE_H_
#define ORVEL_PLATFORM_HALF_WIDTH_TABLE_H_

#include <string>
#include <string_view>

namespace orvel {

// Every character with a half-width form that code page 932 can hold is
// replaced by it; every other byte is kept. Never truncates.
std::string MapToHalfWidthByTable(std::string_view text);

}  // namespace orvel

#endif  // ORVEL_PLATFORM_HALF_WIDTH_TABLE_H_
