// SeparatedItem on arbitrary text and separator: the items joined back with
// the separator give the text, no item holds a separator of its own, and
// every item past the last is empty. The first input byte is the
// separator, the rest the text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "text/text_helpers.h"

namespace {

// Separators found the way the items are cut: after each one the search
// starts afresh on the byte after it, which then begins a character.
int SeparatorCount(std::string_view text, char separator) {
  int count = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] == separator) {
      ++count;
      i += 1;
    } else {
      i += orvel::IsLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
    }
  }
  return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using orvel::fuzz::Require;
  if (size < 1) return 0;
  // The first byte is the separator; "|" is what the dictionaries use.
  const char separator = data[0] == 0 ? '|' : static_cast<char>(data[0]);
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
  const int items = SeparatorCount(text, separator) + 1;

  Require(orvel::SeparatedItem(text, separator, 0).empty(), "item 0 is empty", text);
  Require(orvel::SeparatedItem(text, separator, -1).empty(), "item -1 is empty", text);
  std::string joined;
  for (int n = 1; n <= items; ++n) {
    const orvel::Text item = orvel::SeparatedItem(text, separator, n);
    Require(SeparatorCount(item, separator) == 0, "an item holds no separator", text);
    if (n > 1) joined.push_back(separator);
    joined += item;
  }
  Require(joined == text, "the items joined back give the text", text);
  Require(orvel::SeparatedItem(text, separator, items + 1).empty(),
          "the item after the last is empty", text);
  return 0;
}
