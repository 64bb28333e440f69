// Reading one string from the bytes of an initialisation file, by the rules of
// the Windows reader GetPrivateProfileStringA.
#ifndef ORVEL_PLATFORM_INI_READER_H_
#define ORVEL_PLATFORM_INI_READER_H_

#include <string>
#include <string_view>

namespace orvel {

inline constexpr std::size_t kIniValueLimit = 2047;

// The value of `key` in `section` of the file `contents`, or `default_value`
// when the section or key is missing. Cut to 2,047 bytes.
//
// Names match without regard to the case of ASCII letters; blanks around
// names and values are dropped, and so is a pair of matching quotes around the
// whole value. No line is a comment. The first matching key of the first
// matching section counts. A zero byte ends a value.
std::string ReadIniValue(std::string_view contents, std::string_view section,
                         std::string_view key, const std::string& default_value);

// `value` cut to at most kIniValueLimit bytes, never inside a double-byte
// character, as every value that the reader answers is (a missing file's
// default too).
std::string CutToIniValueLimit(std::string_view value);

// What the reader answers for a missing file, section or key: the default
// without its trailing blanks, cut as every value is.
std::string IniDefaultValue(std::string_view default_value);

}  // namespace orvel

#endif  // ORVEL_PLATFORM_INI_READER_H_
