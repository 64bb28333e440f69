#include "text/text.h"

namespace orvel {

std::size_t FindCharacter(std::string_view text, std::string_view pattern,
                          std::size_t from) {
  if (pattern.empty()) return kNotFound;
  std::size_t position = from;
  while (position < text.size()) {
    std::size_t match = text.find(pattern, position);
    if (match == kNotFound) return kNotFound;
    // Walk character by character up to the match to see whether it starts on
    // a boundary.
    while (position < match) {
      position += IsLeadByte(static_cast<unsigned char>(text[position])) ? 2 : 1;
    }
    if (position == match) return match;
    // The match starts on the second byte of the character at position - 2;
    // go on from the character boundary just after it.
  }
  return kNotFound;
}

Text ReplaceAll(std::string_view text, std::string_view pattern,
                std::string_view replacement) {
  if (pattern.empty()) return Text(text);
  Text result;
  result.reserve(text.size());
  std::size_t position = 0;
  while (true) {
    std::size_t match = FindCharacter(text, pattern, position);
    if (match == kNotFound) break;
    result.append(text.substr(position, match - position));
    result.append(replacement);
    position = match + pattern.size();
  }
  result.append(text.substr(position));
  return result;
}

Text Trim(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && static_cast<unsigned char>(text[begin]) <= 0x20) ++begin;
  while (end > begin && static_cast<unsigned char>(text[end - 1]) <= 0x20) --end;
  return Text(text.substr(begin, end - begin));
}

TextList SplitLines(std::string_view text) {
  std::size_t zero = text.find('\0');
  if (zero != kNotFound) text = text.substr(0, zero);
  TextList lines;
  std::size_t start = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    char byte = text[i];
    if (byte == '\r' || byte == '\n') {
      lines.emplace_back(text.substr(start, i - start));
      if (byte == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      ++i;
      start = i;
    } else {
      ++i;
    }
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

Text JoinLines(const TextList& lines) {
  std::size_t size = 0;
  for (const Text& line : lines) size += line.size() + 2;
  Text joined;
  joined.reserve(size);
  for (const Text& line : lines) {
    joined.append(line);
    joined.append("\r\n");
  }
  return joined;
}

std::size_t CharacterBoundaryAtOrBefore(std::string_view text, std::size_t limit) {
  if (limit >= text.size()) return text.size();
  std::size_t position = 0;
  while (position < limit) {
    std::size_t next =
        position + (IsLeadByte(static_cast<unsigned char>(text[position])) ? 2 : 1);
    if (next > limit) break;
    position = next;
  }
  return position;
}

}  // namespace orvel
