// Shift-JIS text as UTF-8, for terminals and logs on POSIX systems.
#ifndef ORVEL_PLATFORM_UTF8_FROM_SHIFT_JIS_H_
#define ORVEL_PLATFORM_UTF8_FROM_SHIFT_JIS_H_

#include <string>
#include <string_view>

namespace orvel {

// Bytes that do not convert are shown as "?".
std::string Utf8FromShiftJis(std::string_view text);

}  // namespace orvel

#endif  // ORVEL_PLATFORM_UTF8_FROM_SHIFT_JIS_H_
