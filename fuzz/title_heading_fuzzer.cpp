// SplitTitleHeading on an arbitrary heading line. It writes fields 2 and 14
// always, field 4 only when the line holds an ideographic space, field 5
// only as a number above zero, and nothing else; the subtitle keeps no
// full-width parenthesis; without "&" no tag survives; on well-formed
// Shift-JIS no field ends inside a double-byte character.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/book_record.h"
#include "fuzz/fuzz_support.h"
#include "main/title_heading.h"

namespace {

using orvel::fuzz::Require;

// What the fields hold before the call; "<" never survives the stripping.
constexpr std::string_view kBefore = "<before>";
constexpr int kWrittenFields[] = {2, 4, 5, 14};

bool IsNumberAboveZero(const orvel::Text& digits) {
  if (digits.empty()) return false;
  bool above_zero = false;
  for (char byte : digits) {
    if (byte < '0' || byte > '9') return false;
    if (byte != '0') above_zero = true;
  }
  return above_zero;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string line(reinterpret_cast<const char*>(data), size);
  // The parser hands over one line, which holds the heading marker.
  if (line.find("<h1 itemprop=\"name\">") == std::string::npos) {
    line.insert(0, "<h1 itemprop=\"name\">");
  }
  orvel::ClearBase();
  for (int field : kWrittenFields) orvel::BaseField(field) = kBefore;
  orvel::SplitTitleHeading(line);

  const bool no_ampersand = line.find('&') == std::string::npos;
  if (no_ampersand) {
    Require(orvel::BaseField(2) != kBefore && orvel::BaseField(14) != kBefore,
            "fields 2 and 14 are always written", line);
    for (int field : {2, 4, 14}) {
      if (orvel::BaseField(field) == kBefore) continue;
      Require(orvel::fuzz::AngleBracketsOnlyInCommentMarkers(orvel::BaseField(field)),
              "no tag survives in fields 2, 4 and 14", line);
    }
  }
  // Stripping joins bytes; on well-formed text it never joins a character.
  const bool well_formed = orvel::fuzz::IsWellFormedShiftJis(line);
  if (well_formed && line.find("\x81\x40") == std::string::npos) {
    Require(orvel::BaseField(4) == kBefore,
            "field 4 is written only when the line holds an ideographic space", line);
  }
  if (orvel::BaseField(5) != kBefore) {
    Require(IsNumberAboveZero(orvel::BaseField(5)),
            "field 5 is ASCII digits of a number above zero", line);
    Require(orvel::fuzz::CountCharacter(orvel::BaseField(2), "\x81\x69") == 0,
            "a title with a volume is cut before its parenthesis", line);
  }
  Require(orvel::fuzz::CountCharacter(orvel::BaseField(14), "\x81\x69") == 0 &&
              orvel::fuzz::CountCharacter(orvel::BaseField(14), "\x81\x6A") == 0,
          "field 14 holds no full-width parenthesis", line);
  if (well_formed) {
    for (int field : kWrittenFields) {
      Require(!orvel::fuzz::EndsInsideCharacter(orvel::BaseField(field)),
              "no field ends inside a double-byte character", line);
    }
  }
  for (int field = 1; field <= orvel::TBase::kFieldCount; ++field) {
    if (field == 2 || field == 4 || field == 5 || field == 14) continue;
    Require(orvel::BaseField(field).empty(), "no other field is written", line);
  }
  return 0;
}
