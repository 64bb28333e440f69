#include "platform/ini_reader.h"

#include <algorithm>

#include "text/shift_jis_literal.h"
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

// The Shift-JIS bytes of a code point; "?" where code page 932 has none, as
// the Windows conversion gives.
void AppendShiftJis(std::string& out, char32_t code_point) {
  if (code_point < 0x80) {
    out.push_back(static_cast<char>(code_point));
    return;
  }
  const auto* table = literal_detail::kCodePage932;
  const auto* end = table + sizeof(literal_detail::kCodePage932) / sizeof(table[0]);
  const auto* found = std::lower_bound(
      table, end, code_point,
      [](const literal_detail::CodePointToShiftJis& entry, char32_t wanted) {
        return entry.code_point < wanted;
      });
  if (found == end || found->code_point != code_point) {
    out.push_back('?');
    return;
  }
  if (found->shift_jis > 0xFF) out.push_back(static_cast<char>(found->shift_jis >> 8));
  out.push_back(static_cast<char>(found->shift_jis & 0xFF));
}

std::string Utf8ToShiftJis(std::string_view text) {
  std::string out;
  std::size_t i = 0;
  while (i < text.size()) {
    unsigned char lead = static_cast<unsigned char>(text[i]);
    int extra = lead < 0x80 ? 0 : (lead & 0xE0) == 0xC0 ? 1 : (lead & 0xF0) == 0xE0 ? 2
                                 : (lead & 0xF8) == 0xF0 ? 3 : -1;
    if (extra < 0 || i + extra >= text.size()) {
      out.push_back('?');
      ++i;
      continue;
    }
    char32_t code_point = extra == 0 ? lead : lead & (0x3F >> extra);
    bool valid = true;
    for (int k = 1; k <= extra; ++k) {
      unsigned char next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) valid = false;
      code_point = (code_point << 6) | (next & 0x3F);
    }
    if (!valid) {
      out.push_back('?');
      ++i;
      continue;
    }
    AppendShiftJis(out, code_point);
    i += 1 + extra;
  }
  return out;
}

std::string Utf16ToShiftJis(std::string_view text, bool little_endian) {
  std::string out;
  for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
    unsigned char first = static_cast<unsigned char>(text[i]);
    unsigned char second = static_cast<unsigned char>(text[i + 1]);
    char32_t unit = little_endian ? (second << 8 | first) : (first << 8 | second);
    if (unit >= 0xD800 && unit <= 0xDFFF) {
      out.push_back('?');  // no character beyond the basic plane is in code page 932
      if (unit <= 0xDBFF) i += 2;
      continue;
    }
    AppendShiftJis(out, unit);
  }
  return out;
}

// A file that begins with a byte-order mark is read as UTF-8 or UTF-16 and
// its values given in Shift-JIS, as the Windows reader does.
std::string ContentsInShiftJis(std::string_view contents) {
  if (contents.starts_with("\xEF\xBB\xBF")) return Utf8ToShiftJis(contents.substr(3));
  if (contents.starts_with("\xFF\xFE")) return Utf16ToShiftJis(contents.substr(2), true);
  if (contents.starts_with("\xFE\xFF")) return Utf16ToShiftJis(contents.substr(2), false);
  return std::string(contents);
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

std::string IniDefaultValue(std::string_view default_value) {
  while (!default_value.empty() && IsBlank(default_value.back())) default_value.remove_suffix(1);
  return CutToIniValueLimit(default_value);
}

std::string ReadIniValue(std::string_view file_contents, std::string_view section,
                         std::string_view key, const std::string& default_value) {
  const std::string converted = ContentsInShiftJis(file_contents);
  const std::string_view contents = converted;
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
    // A line that is only the key's name is the key without a value: the
    // Windows reader gives the default for it.
    if (equals == std::string_view::npos) {
      if (SameName(line, key)) break;
      continue;
    }
    if (SameName(TrimBlanks(line.substr(0, equals)), key)) {
      return ValueOf(line.substr(equals + 1));
    }
  }
  return IniDefaultValue(default_value);
}

}  // namespace orvel
