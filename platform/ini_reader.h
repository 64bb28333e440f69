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
std::string ReadIniValue(std::string_view contents, std::string_view section,
                         std::string_view key, const std::string& default_value);

}  // namespace orvel

#endif  // ORVEL_PLATFORM_INI_READER_H_
