#include "text/text_helpers.h"

namespace orvel {

Text SeparatedItem(std::string_view text, char separator, int n) {
  if (n < 1) return Text();
  const std::string_view separator_text(&separator, 1);
  std::string_view remaining = text;
  int count = 0;
  while (true) {
    std::size_t found = FindCharacter(remaining, separator_text);
    if (found == kNotFound) {
      return count == n - 1 ? Text(remaining) : Text();
    }
    ++count;
    if (count == n) return Text(remaining.substr(0, found));
    remaining.remove_prefix(found + 1);
  }
}

}  // namespace orvel
