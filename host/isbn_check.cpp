#include "host/isbn_check.h"

#include <algorithm>

namespace korvane {

namespace {

bool AllDigits(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool ValidIsbn10(std::string_view code) {
  if (code.size() != 10 || !AllDigits(code.substr(0, 9))) return false;
  char last = code[9];
  if (!(last >= '0' && last <= '9') && last != 'X') return false;
  int sum = 0;
  for (int i = 0; i < 9; ++i) sum += (10 - i) * (code[i] - '0');
  sum += last == 'X' ? 10 : last - '0';
  return sum % 11 == 0;
}

// EAN-13 and EAN-8 (and so ISBN-13): weights 1 and 3 from the right.
bool ValidEan(std::string_view code) {
  if ((code.size() != 13 && code.size() != 8) || !AllDigits(code)) return false;
  int sum = 0;
  for (std::size_t i = 0; i < code.size(); ++i) {
    std::size_t from_right = code.size() - 1 - i;
    sum += (code[i] - '0') * (from_right % 2 == 0 ? 1 : 3);
  }
  return sum % 10 == 0;
}

}  // namespace

std::string NormaliseCode(std::string_view raw) {
  std::string code;
  for (char c : raw) {
    if (c != '-' && c != ' ') code.push_back(c);
  }
  if (!code.empty() && code.back() == 'x') code.back() = 'X';
  if (code.size() == 26) {
    std::string first = code.substr(0, 13);
    return ValidEan(first) ? first : std::string();
  }
  if (ValidIsbn10(code) || ValidEan(code)) return code;
  return std::string();
}

}  // namespace korvane
