// "..."_sj turns a UTF-8 string literal of the source into the Shift-JIS
// (code page 932) bytes that the program works with, at compile time, so that
// Japanese texts stay readable in the source and exact in the binary on every
// compiler. A character that code page 932 cannot hold is a compile error.
#ifndef ORVEL_TEXT_SHIFT_JIS_LITERAL_H_
#define ORVEL_TEXT_SHIFT_JIS_LITERAL_H_

#include <cstddef>
#include <string_view>

namespace orvel {
namespace literal_detail {

struct CodePointToShiftJis {
  char32_t code_point;
  unsigned short shift_jis;  // one byte (below 0x100) or lead byte and trail byte
};

inline constexpr CodePointToShiftJis kCodePage932[] = {
#include "text/code_page_932_table.inc"
};

template <std::size_t N>
struct Utf8Literal {
  char bytes[N];
  constexpr Utf8Literal(const char (&text)[N]) {
    for (std::size_t i = 0; i < N; ++i) bytes[i] = text[i];
  }
};

void CharacterOutsideCodePage932();  // never defined: reaching it stops the compile

constexpr unsigned short ShiftJisOf(char32_t code_point) {
  std::size_t low = 0;
  std::size_t high = sizeof(kCodePage932) / sizeof(kCodePage932[0]);
  while (low < high) {
    std::size_t middle = (low + high) / 2;
    if (kCodePage932[middle].code_point < code_point) {
      low = middle + 1;
    } else {
      high = middle;
    }
  }
  if (low == sizeof(kCodePage932) / sizeof(kCodePage932[0]) ||
      kCodePage932[low].code_point != code_point) {
    CharacterOutsideCodePage932();
  }
  return kCodePage932[low].shift_jis;
}

template <std::size_t N>
struct ShiftJisBytes {
  char bytes[N] = {};  // never longer than the UTF-8 form
  std::size_t size = 0;
};

template <Utf8Literal Source>
consteval auto ConvertLiteral() {
  constexpr std::size_t kLength = sizeof(Source.bytes) - 1;  // without the zero
  ShiftJisBytes<sizeof(Source.bytes)> out;
  std::size_t i = 0;
  while (i < kLength) {
    unsigned char lead = static_cast<unsigned char>(Source.bytes[i]);
    char32_t code_point;
    int extra;
    if (lead < 0x80) {
      code_point = lead;
      extra = 0;
    } else if ((lead & 0xE0) == 0xC0) {
      code_point = lead & 0x1F;
      extra = 1;
    } else if ((lead & 0xF0) == 0xE0) {
      code_point = lead & 0x0F;
      extra = 2;
    } else {
      code_point = lead & 0x07;
      extra = 3;
    }
    for (int k = 1; k <= extra; ++k) {
      code_point = (code_point << 6) |
                   (static_cast<unsigned char>(Source.bytes[i + k]) & 0x3F);
    }
    i += 1 + extra;
    if (code_point < 0x80) {
      out.bytes[out.size++] = static_cast<char>(code_point);
      continue;
    }
    unsigned short code = ShiftJisOf(code_point);
    if (code > 0xFF) out.bytes[out.size++] = static_cast<char>(code >> 8);
    out.bytes[out.size++] = static_cast<char>(code & 0xFF);
  }
  return out;
}

template <Utf8Literal Source>
inline constexpr auto kConverted = ConvertLiteral<Source>();

}  // namespace literal_detail

template <literal_detail::Utf8Literal Source>
constexpr std::string_view operator""_sj() {
  return std::string_view(literal_detail::kConverted<Source>.bytes,
                          literal_detail::kConverted<Source>.size);
}

}  // namespace orvel

#endif  // ORVEL_TEXT_SHIFT_JIS_LITERAL_H_
