#include "text/text_helpers.h"

namespace orvel {

namespace {

// A second byte of a double-byte character is never an ASCII digit, so a
// byte walk is exact.
Text AsciiDigits(std::string_view text) {
  Text digits;
  for (char byte : text) {
    if (byte >= '0' && byte <= '9') digits.push_back(byte);
  }
  return digits;
}

}  // namespace

Text DigitsOnly(std::string_view text) {
  Text digits = AsciiDigits(text);
  return digits.empty() ? Text(text) : digits;
}

Text DigitsOrZero(std::string_view text) {
  Text digits = AsciiDigits(text);
  return digits.empty() ? Text("0") : digits;
}

}  // namespace orvel
