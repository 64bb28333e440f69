// EucJpToShiftJis on arbitrary bytes. The output is never longer than the
// input; on well-formed EUC-JP every character converts to one character of
// the same class, and every double-byte character converts back to the JIS
// pair it came from.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "text/text_helpers.h"

namespace {

using orvel::fuzz::Require;

bool IsEucByte(unsigned char byte) { return byte >= 0xA1 && byte <= 0xFE; }

// Well-formed EUC-JP: ASCII, 8E + a half-width katakana byte, 8F + two EUC
// bytes, or two EUC bytes.
bool IsWellFormedEucJp(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    unsigned char byte = static_cast<unsigned char>(text[i]);
    if (byte <= 0x7F) {
      i += 1;
    } else if (byte == 0x8E) {
      if (i + 1 >= text.size()) return false;
      unsigned char next = static_cast<unsigned char>(text[i + 1]);
      if (next < 0xA1 || next > 0xDF) return false;
      i += 2;
    } else if (byte == 0x8F) {
      if (i + 2 >= text.size() || !IsEucByte(text[i + 1]) || !IsEucByte(text[i + 2])) {
        return false;
      }
      i += 3;
    } else if (IsEucByte(byte)) {
      if (i + 1 >= text.size() || !IsEucByte(text[i + 1])) return false;
      i += 2;
    } else {
      return false;
    }
  }
  return true;
}

// The JIS X 0208 row and cell of a Shift-JIS pair, by the inverse of the
// usual arithmetic.
void ShiftJisToJis(unsigned char first, unsigned char second, unsigned char* j1,
                   unsigned char* j2) {
  unsigned char row = static_cast<unsigned char>(first - (first >= 0xE0 ? 0xB0 : 0x70));
  row = static_cast<unsigned char>(row * 2);
  if (second < 0x9F) {
    *j1 = static_cast<unsigned char>(row - 1);
    *j2 = static_cast<unsigned char>(second - (second >= 0x80 ? 0x20 : 0x1F));
  } else {
    *j1 = row;
    *j2 = static_cast<unsigned char>(second - 0x7E);
  }
}

// Walks input and output side by side, one character at a time.
void CheckCharacterByCharacter(std::string_view euc, std::string_view sjis) {
  constexpr std::string_view kGetaMark = "\x81\xAC";
  std::size_t in = 0;
  std::size_t out = 0;
  while (in < euc.size()) {
    unsigned char byte = static_cast<unsigned char>(euc[in]);
    Require(out < sjis.size(), "every EUC-JP character has a Shift-JIS one", euc);
    if (byte <= 0x7F) {
      Require(sjis[out] == euc[in], "ASCII is copied", euc);
      in += 1;
      out += 1;
    } else if (byte == 0x8E) {
      Require(sjis[out] == euc[in + 1], "8E + a katakana byte gives the byte", euc);
      in += 2;
      out += 1;
    } else if (byte == 0x8F) {
      Require(sjis.substr(out, 2) == kGetaMark, "JIS X 0212 gives the geta mark", euc);
      in += 3;
      out += 2;
    } else {
      Require(out + 1 < sjis.size(), "a pair gives two bytes", euc);
      unsigned char first = static_cast<unsigned char>(sjis[out]);
      unsigned char second = static_cast<unsigned char>(sjis[out + 1]);
      Require(orvel::fuzz::IsWellFormedShiftJis(sjis.substr(out, 2)) &&
                  orvel::IsLeadByte(first),
              "a pair gives a Shift-JIS double-byte character", euc);
      unsigned char j1 = 0;
      unsigned char j2 = 0;
      ShiftJisToJis(first, second, &j1, &j2);
      Require(j1 == (byte & 0x7F) && j2 == (static_cast<unsigned char>(euc[in + 1]) & 0x7F),
              "the Shift-JIS pair converts back to the JIS pair", euc);
      in += 2;
      out += 2;
    }
  }
  Require(out == sjis.size(), "nothing is added after the last character", euc);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view euc(reinterpret_cast<const char*>(data), size);
  const orvel::Text sjis = orvel::EucJpToShiftJis(euc);
  Require(sjis.size() <= euc.size(), "the output is never longer than the input", euc);
  if (IsWellFormedEucJp(euc)) {
    CheckCharacterByCharacter(euc, sjis);
    Require(orvel::fuzz::IsWellFormedShiftJis(sjis),
            "well-formed EUC-JP gives well-formed Shift-JIS", euc);
    Require(orvel::SplitLines(sjis).size() == orvel::SplitLines(euc).size(),
            "lines keep their breaks", euc);
  }
  return 0;
}
