#include "fuzz/fuzz_support.h"

#include <cstdio>

namespace orvel::fuzz {

namespace {

bool IsLead(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

bool IsSecondByte(unsigned char byte) {
  return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

bool IsSingleByteCharacter(unsigned char byte) {
  return byte <= 0x7F || (byte >= 0xA1 && byte <= 0xDF);
}

std::size_t CharacterLength(std::string_view text, std::size_t position) {
  return IsLead(static_cast<unsigned char>(text[position])) ? 2 : 1;
}

}  // namespace

std::vector<std::string_view> SplitSections(const std::uint8_t* data,
                                            std::size_t size, std::size_t count,
                                            std::size_t* present) {
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  std::vector<std::string_view> sections;
  while (sections.size() + 1 < count) {
    std::size_t cut = rest.find(kSectionBreak);
    if (cut == std::string_view::npos) break;
    sections.push_back(rest.substr(0, cut));
    rest.remove_prefix(cut + kSectionBreak.size());
  }
  sections.push_back(rest);
  if (present != nullptr) *present = sections.size();
  sections.resize(count);
  return sections;
}

void Broken(const char* property, std::string_view bytes) {
  std::fprintf(stderr, "\n*** broken property: %s\n", property);
  if (!bytes.empty()) {
    std::fprintf(stderr, "*** on %zu bytes: %s\n", bytes.size(), Hex(bytes).c_str());
  }
  std::fflush(stderr);
  __builtin_trap();
}

std::string Hex(std::string_view bytes, std::size_t limit) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (std::size_t i = 0; i < bytes.size() && i < limit; ++i) {
    unsigned char byte = static_cast<unsigned char>(bytes[i]);
    if (i > 0) hex.push_back(' ');
    hex.push_back(kDigits[byte >> 4]);
    hex.push_back(kDigits[byte & 0x0F]);
  }
  if (bytes.size() > limit) hex += " ...";
  return hex;
}

bool IsBoundary(std::string_view text, std::size_t position) {
  std::size_t walk = 0;
  while (walk < position) walk += CharacterLength(text, walk);
  return walk == position;
}

bool EndsInsideCharacter(std::string_view text) {
  std::size_t walk = 0;
  while (walk < text.size()) walk += CharacterLength(text, walk);
  return walk > text.size();
}

bool IsWellFormedShiftJis(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    unsigned char byte = static_cast<unsigned char>(text[i]);
    if (IsLead(byte)) {
      if (i + 1 >= text.size() || !IsSecondByte(static_cast<unsigned char>(text[i + 1]))) {
        return false;
      }
      ++i;
    } else if (!IsSingleByteCharacter(byte)) {
      return false;
    }
  }
  return true;
}

bool HasSecondByteIn(std::string_view text, std::string_view bytes) {
  for (std::size_t i = 0; i < text.size(); i += CharacterLength(text, i)) {
    if (CharacterLength(text, i) == 2 && i + 1 < text.size() &&
        bytes.find(text[i + 1]) != std::string_view::npos) {
      return true;
    }
  }
  return false;
}

std::size_t CountCharacter(std::string_view text, std::string_view character) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size(); i += CharacterLength(text, i)) {
    if (text.substr(i).starts_with(character)) ++count;
  }
  return count;
}

bool OccursOffBoundary(std::string_view text, std::string_view pattern) {
  if (pattern.empty()) return false;
  for (std::size_t found = text.find(pattern); found != std::string_view::npos;
       found = text.find(pattern, found + 1)) {
    if (!IsBoundary(text, found)) return true;
  }
  return false;
}

bool AngleBracketsOnlyInCommentMarkers(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '<' && !text.substr(i).starts_with("<!--")) return false;
    if (text[i] == '>' && (i < 2 || text.substr(i - 2, 3) != "-->")) return false;
  }
  return true;
}

bool IsSubsequence(std::string_view part, std::string_view whole) {
  std::size_t next = 0;
  for (char byte : whole) {
    if (next < part.size() && part[next] == byte) ++next;
  }
  return next == part.size();
}

bool SplitCsvLine(std::string_view line, bool by_character,
                  std::vector<std::string>* items) {
  items->clear();
  std::size_t i = 0;
  auto length_at = [&](std::size_t position) -> std::size_t {
    if (!by_character) return 1;
    return position + 1 < line.size() ? CharacterLength(line, position) : 1;
  };
  while (true) {
    std::string item;
    if (i < line.size() && line[i] == '"') {
      ++i;
      while (true) {
        if (i >= line.size()) return false;  // the quote never closes
        if (line[i] == '"') {
          if (i + 1 < line.size() && line[i + 1] == '"') {
            item.push_back('"');
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        std::size_t length = length_at(i);
        item.append(line.substr(i, length));
        i += length;
      }
      if (i < line.size() && line[i] != ',') return false;  // text after the quote
    } else {
      while (i < line.size() && line[i] != ',') {
        if (line[i] == '"') return false;  // a quote inside an unquoted item
        std::size_t length = length_at(i);
        item.append(line.substr(i, length));
        i += length;
      }
    }
    items->push_back(std::move(item));
    if (i >= line.size()) return true;
    ++i;  // the comma
  }
}

}  // namespace orvel::fuzz
