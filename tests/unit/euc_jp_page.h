// Test pages: Shift-JIS lines (written with _sj) turned into the EUC-JP
// bytes that the store serves.
#ifndef ORVEL_TESTS_UNIT_EUC_JP_PAGE_H_
#define ORVEL_TESTS_UNIT_EUC_JP_PAGE_H_

#include <initializer_list>
#include <string>
#include <string_view>

#include "text/text.h"

namespace orvel {

// JIS X 0208 characters and half-width katakana; every other byte is kept.
inline std::string ShiftJisToEucJp(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 4);
  for (std::size_t i = 0; i < text.size(); ++i) {
    unsigned char lead = static_cast<unsigned char>(text[i]);
    if (lead >= 0xA1 && lead <= 0xDF) {
      out.push_back('\x8E');
      out.push_back(static_cast<char>(lead));
      continue;
    }
    if (!IsLeadByte(lead) || i + 1 >= text.size()) {
      out.push_back(static_cast<char>(lead));
      continue;
    }
    unsigned char trail = static_cast<unsigned char>(text[++i]);
    int row = (lead < 0xA0 ? lead - 0x70 : lead - 0xB0) * 2 - 1;
    int cell;
    if (trail >= 0x9F) {
      ++row;
      cell = trail - 0x7E;
    } else {
      cell = trail >= 0x80 ? trail - 0x20 : trail - 0x1F;
    }
    out.push_back(static_cast<char>(row | 0x80));
    out.push_back(static_cast<char>(cell | 0x80));
  }
  return out;
}

// The lines, each followed by `line_break`, in EUC-JP.
inline std::string EucJpPage(std::initializer_list<std::string_view> lines,
                             std::string_view line_break = "\n") {
  std::string page;
  for (std::string_view line : lines) {
    page.append(line);
    page.append(line_break);
  }
  return ShiftJisToEucJp(page);
}

}  // namespace orvel

#endif  // ORVEL_TESTS_UNIT_EUC_JP_PAGE_H_
