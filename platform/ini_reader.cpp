#include "platform/ini_reader.h"

#include "text/text.h"

namespace orvel {

namespace {

bool IsBlank(char byte) { return byte == ' ' || byte == '\t' || byte == '\v' || byte == '\f'; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

char FoldAsciiLetter(char byte) { return (byte >= 'a' && byte <= 'z') ? byte - 'a' + 'A' : byte; }

// Only single-byte letters fold: the second byte of a double-byte character
// may have a letter's value (ア is 83 41, ヂ is 83 61) and must match exactly.
bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (IsLeadByte(static_cast<unsigned char>(a[i])) && i + 1 < a.size()) {
      if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
      ++i;
    } else if (FoldAsciiLetter(a[i]) != FoldAsciiLetter(b[i])) {
      return false;
    }
  }
  return true;
}

// The line starting at `*position`; CR LF, LF and a lone CR end it, and
// `*position` moves past the line break.
std::string_view NextLine(std::string_view contents, std::size_t* position) {
  const std::size_t start = *position;
  std::size_t end = contents.find_first_of("\r\n", start);
  if (end == std::string_view::npos) end = contents.size();
  *position = end;
  if (end < contents.size()) {
    *position = end + 1;
    if (contents[end] == '\r' && *position < contents.size() && contents[*position] == '\n') {
      ++*position;
    }
  }
  return contents.substr(start, end - start);
}

// A trimmed line "[Name]" is a section header; the name ends at the first "]"
// that is a character of its own, not the second byte of one (ゾ is 83 5D).
bool IsSectionHeader(std::string_view line, std::string_view* name) {
  if (line.empty() || line.front() != '[') return false;
  const std::size_t close = FindCharacter(line, "]", 1);
  if (close == kNotFound) return false;
  *name = TrimBlanks(line.substr(1, close - 1));
  return true;
}

std::string ValueOf(std::string_view raw) {
  raw = TrimBlanks(raw.substr(0, raw.find('\0')));
  if (raw.size() >= 2 && (raw.front() == '"' || raw.front() == '\'') &&
      raw.back() == raw.front()) {
    raw = raw.substr(1, raw.size() - 2);
  }
  return CutToIniValueLimit(raw);
}

}  // namespace

std::string CutToIniValueLimit(std::string_view value) {
  return std::string(value.substr(0, CharacterBoundaryAtOrBefore(value, kIniValueLimit)));
}

std::string ReadIniValue(std::string_view contents, std::string_view section,
                         std::string_view key, const std::string& default_value) {
  section = TrimBlanks(section);
  key = TrimBlanks(key);
  bool in_section = false;
  std::size_t position = 0;
  while (position < contents.size()) {
    const std::string_view line = TrimBlanks(NextLine(contents, &position));
    std::string_view name;
    if (IsSectionHeader(line, &name)) {
      if (in_section) break;  // a repeated section is never searched
      in_section = SameName(name, section);
      continue;
    }
    if (!in_section) continue;
    const std::size_t equals = line.find('=');  // 3D is never a second byte
    if (equals == std::string_view::npos) continue;
    if (SameName(TrimBlanks(line.substr(0, equals)), key)) {
      return ValueOf(line.substr(equals + 1));
    }
  }
  return CutToIniValueLimit(default_value);
}

}  // namespace orvel
