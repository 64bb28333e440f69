// The stand-in host's code check: the normalised code when its check digit is
// valid, else the empty text.
#ifndef ORVEL_HOST_ISBN_CHECK_H_
#define ORVEL_HOST_ISBN_CHECK_H_

#include <string>
#include <string_view>

namespace korvane {

// Removes hyphens and spaces and makes a trailing x an X. Answers the code
// when it is a valid ISBN-10, ISBN-13 (978/979), EAN-13 or EAN-8; for a
// 26-character combined code, its first 13 characters when those are valid.
// Otherwise the empty text.
std::string NormaliseCode(std::string_view code);

}  // namespace korvane

#endif  // ORVEL_HOST_ISBN_CHECK_H_
