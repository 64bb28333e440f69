// NormalizeReleaseDate on arbitrary text: the year (field 25) is always
// written, empty or a number; the month and day (fields 26 and 27) are left
// as they were or become two ASCII digits other than "00".
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "common/book_record.h"
#include "fuzz/fuzz_support.h"
#include "main/release_date.h"
#include "text/text_helpers.h"

namespace {

using orvel::fuzz::Require;

// What fields 26 and 27 hold before the call: no date makes these.
constexpr std::string_view kMonthBefore = "\x81\x48" "month";
constexpr std::string_view kDayBefore = "\x81\x48" "day";

bool IsDigit(char byte) { return byte >= '0' && byte <= '9'; }

bool IsLeftOrTwoDigits(const orvel::Text& field, std::string_view before) {
  if (field == before) return true;
  return field.size() == 2 && IsDigit(field[0]) && IsDigit(field[1]) && field != "00";
}

// Empty, or an optional sign and decimal digits.
bool IsYear(const orvel::Text& year) {
  std::string_view digits = year;
  if (digits.empty()) return true;
  if (digits[0] == '+' || digits[0] == '-') digits.remove_prefix(1);
  if (digits.empty()) return false;
  for (char byte : digits) {
    if (!IsDigit(byte)) return false;
  }
  return true;
}

struct Date {
  orvel::Text year;
  orvel::Text month;
  orvel::Text day;
  bool operator==(const Date&) const = default;
};

Date Normalize(std::string_view text) {
  orvel::ClearBase();
  orvel::BaseField(25) = "\x81\x48" "year";
  orvel::BaseField(26) = kMonthBefore;
  orvel::BaseField(27) = kDayBefore;
  orvel::NormalizeReleaseDate(text);
  return {orvel::BaseField(25), orvel::BaseField(26), orvel::BaseField(27)};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const Date date = Normalize(text);

  Require(IsYear(date.year), "field 25 is empty or a number", text);
  Require(date.year.size() <= 4 || date.year.size() <= text.size(),
          "field 25 is never longer than the text or a completed year", text);
  Require(IsLeftOrTwoDigits(date.month, kMonthBefore),
          "field 26 is left or two ASCII digits", text);
  Require(IsLeftOrTwoDigits(date.day, kDayBefore),
          "field 27 is left or two ASCII digits", text);
  for (int field = 1; field <= orvel::TBase::kFieldCount; ++field) {
    if (field >= 25 && field <= 27) continue;
    Require(orvel::BaseField(field).empty(), "no other field is written", text);
  }
  // Full-width digits read like ASCII ones.
  Require(Normalize(orvel::FullWidthAlnumToAscii(text)) == date,
          "full-width digits give the same date as ASCII ones", text);
  return 0;
}
