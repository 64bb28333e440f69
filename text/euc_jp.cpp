#include "text/text_helpers.h"

namespace orvel {

namespace {

// Appends the Shift-JIS bytes of the JIS X 0208 character (j1, j2).
void AppendJisPair(Text& out, unsigned char j1, unsigned char j2) {
  unsigned char first = static_cast<unsigned char>(((j1 + 1) >> 1) + (j1 < 0x5F ? 0x70 : 0xB0));
  unsigned char second;
  if (j1 % 2 == 0) {
    second = static_cast<unsigned char>(j2 + 0x7E);
  } else if (j2 <= 0x5F) {
    second = static_cast<unsigned char>(j2 + 0x1F);
  } else {
    second = static_cast<unsigned char>(j2 + 0x20);
  }
  out.push_back(static_cast<char>(first));
  out.push_back(static_cast<char>(second));
}

}  // namespace

Text JisPairToShiftJis(unsigned char j1, unsigned char j2) {
  Text pair;
  AppendJisPair(pair, j1, j2);
  return pair;
}

Text EucJpToShiftJis(std::string_view text) {
  // JIS X 0212 has no Shift-JIS counterpart; its characters become the geta
  // mark, the usual stand-in for a character that cannot be shown.
  constexpr std::string_view kGetaMark = "〓"_sj;
  Text result;
  result.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    unsigned char byte = static_cast<unsigned char>(text[i]);
    if (byte <= 0x80 || byte == 0xFF || i + 1 == text.size()) {
      result.push_back(static_cast<char>(byte));
      i += 1;
    } else if (byte == 0x8E) {
      result.push_back(text[i + 1]);
      i += 2;
    } else if (byte == 0x8F) {
      result.append(kGetaMark);
      i += 3;
    } else {
      AppendJisPair(result, byte & 0x7F, static_cast<unsigned char>(text[i + 1]) & 0x7F);
      i += 2;
    }
  }
  return result;
}

}  // namespace orvel
