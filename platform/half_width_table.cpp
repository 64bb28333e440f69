#include "platform/half_width_table.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "text/text.h"

namespace orvel {

namespace {

// A double-byte character with a half-width form: its Shift-JIS code and the
// single bytes of the form (a voiced kana becomes the plain kana and a mark).
struct HalfWidthForm {
  std::uint16_t code;
  unsigned char first;
  unsigned char second;  // 0 when the form is one byte
};

constexpr HalfWidthForm kHalfWidthForms[] = {
#include "platform/half_width_table.inc"
};

constexpr bool SortedByCode() {
  for (std::size_t i = 1; i < std::size(kHalfWidthForms); ++i) {
    if (kHalfWidthForms[i - 1].code >= kHalfWidthForms[i].code) return false;
  }
  return true;
}
static_assert(SortedByCode(), "the lookup is a binary search");

const HalfWidthForm* FindForm(std::uint16_t code) {
  const HalfWidthForm* end = std::end(kHalfWidthForms);
  const HalfWidthForm* found =
      std::lower_bound(std::begin(kHalfWidthForms), end, code,
                       [](const HalfWidthForm& form, std::uint16_t wanted) {
                         return form.code < wanted;
                       });
  return (found != end && found->code == code) ? found : nullptr;
}

}  // namespace

std::string MapToHalfWidthByTable(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  std::size_t position = 0;
  while (position < text.size()) {
    const auto lead = static_cast<unsigned char>(text[position]);
    if (!IsLeadByte(lead) || position + 1 == text.size()) {
      result += text[position];
      ++position;
      continue;
    }
    const auto trail = static_cast<unsigned char>(text[position + 1]);
    if (const HalfWidthForm* form = FindForm(static_cast<std::uint16_t>(lead << 8 | trail))) {
      result += static_cast<char>(form->first);
      if (form->second != 0) result += static_cast<char>(form->second);
    } else {
      result.append(text.substr(position, 2));
    }
    position += 2;
  }
  return result;
}

}  // namespace orvel
