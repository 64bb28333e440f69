#include "common/output_line.h"

#include <array>

#include "common/book_record.h"
#include "platform/platform.h"
#include "text/text_helpers.h"

namespace orvel {

namespace {

// Which field stands in each output column; 0 marks an always-empty column.
// Field N is in column N up to field 19, in column N + 1 from field 20 to 39,
// and in column N + 2 from field 40 on.
constexpr std::array<int, kOutputColumnCount> kFieldOfColumn = [] {
  std::array<int, kOutputColumnCount> columns{};
  for (int column = 1; column <= kOutputColumnCount; ++column) {
    int field = 0;
    if (column <= 19) {
      field = column;
    } else if (column >= 21 && column <= 40) {
      field = column - 1;
    } else if (column >= 42) {
      field = column - 2;
    }
    columns[column - 1] = field;
  }
  return columns;
}();

bool IsHalfWidthField(int field) { return field == 3 || field == 7 || field == 9; }

bool IsTrailByte(unsigned char byte) {
  return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

// A lead byte without a second byte (at the end of the field, or before a
// comma, a quote or a line break) would swallow the byte after it in the
// host's reader and shift every later column. Such a byte, which only a
// broken page gives, becomes the geta mark.
Text ReplaceBrokenCharacters(std::string_view text) {
  Text repaired;
  repaired.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    unsigned char byte = static_cast<unsigned char>(text[i]);
    if (!IsLeadByte(byte)) {
      repaired.push_back(text[i]);
    } else if (i + 1 < text.size() && IsTrailByte(static_cast<unsigned char>(text[i + 1]))) {
      repaired.append(text.substr(i, 2));
      ++i;
    } else {
      repaired.append("〓"_sj);
    }
  }
  return repaired;
}

// Quotes are needed for a control character, a space, a double quote or a
// comma outside a double-byte character.
bool NeedsQuotes(std::string_view item) {
  for (std::size_t i = 0; i < item.size(); ++i) {
    unsigned char byte = static_cast<unsigned char>(item[i]);
    if (IsLeadByte(byte)) {
      ++i;
    } else if ((byte >= 0x01 && byte <= 0x20) || byte == '"' || byte == ',') {
      return true;
    }
  }
  return false;
}

void AppendItem(Text& line, std::string_view item) {
  if (!NeedsQuotes(item)) {
    line.append(item);
    return;
  }
  line.push_back('"');
  for (char byte : item) {
    if (byte == '"') line.push_back('"');
    line.push_back(byte);
  }
  line.push_back('"');
}

}  // namespace

Text EscapeField(std::string_view text) {
  Text escaped = ReplaceAll(text, "\r\n", "$$");
  escaped = ReplaceAll(escaped, "\"", "”"_sj);
  return ReplaceAll(escaped, ",", "，"_sj);
}

Text BaseToLine(Platform& platform) {
  Text line;
  for (int column = 1; column <= kOutputColumnCount; ++column) {
    if (column > 1) line.push_back(',');
    int field = kFieldOfColumn[column - 1];
    if (field == 0) continue;
    Text& value = BaseField(field);
    if (IsHalfWidthField(field)) value = ToHalfWidth(platform, value);
    AppendItem(line, EscapeField(ReplaceBrokenCharacters(value)));
  }
  return line;
}

bool SaveOutputFile(Platform& platform, const std::string& path,
                    const TextList& lines) {
  return platform.WriteWholeFile(path, JoinLines(lines));
}

}  // namespace orvel
