#include "text/text_helpers.h"

namespace orvel {

Text TextBetween(std::string_view text, std::string_view start_marker,
                 std::string_view end_marker) {
  if (start_marker.empty()) return Text();
  std::size_t start = FindBytes(text, start_marker);
  if (start == kNotFound) return Text();
  std::string_view rest = text.substr(start + start_marker.size());
  if (!end_marker.empty()) {
    std::size_t end = FindBytes(rest, end_marker);
    if (end != kNotFound) return Text(rest.substr(0, end));
  }
  return Text(rest);
}

}  // namespace orvel
