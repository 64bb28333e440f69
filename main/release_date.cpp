#include "main/release_date.h"

#include <charconv>
#include <cstdint>
#include <optional>

#include "common/book_record.h"
#include "text/text.h"
#include "text/text_helpers.h"

namespace orvel {

namespace {

// The separators of one date shape. The day separator of the dotted and
// slashed shapes is a text no date holds, so the day runs to the end.
struct DateShape {
  std::string_view test;
  std::string_view year_separator;
  std::string_view month_separator;
  std::string_view day_separator;
};

const DateShape kDateShapes[] = {
    {"年"_sj, "年"_sj, "月"_sj, "日"_sj},
    {".", ".", ".", "Dummy"},
    {"/", "/", "/", "Dummy"},
};

// A whole 32-bit number: an optional sign and decimal digits, nothing else.
std::optional<std::int32_t> WholeNumber(std::string_view text) {
  if (!text.empty() && text[0] == '+') {
    text.remove_prefix(1);
    if (!text.empty() && text[0] == '-') return std::nullopt;
  }
  std::int32_t value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
    return std::nullopt;
  }
  return value;
}

// A one- to three-digit year: below 60 in this century, else in the last.
Text CompletedYear(std::int32_t year) {
  return std::to_string(year < 60 ? year + 2000 : year + 1900);
}

Text LastTwoBytes(const Text& text) {
  return text.size() <= 2 ? text : text.substr(text.size() - 2);
}

bool IsAsciiDigit(char byte) { return byte >= '0' && byte <= '9'; }

bool IsTwoDigitPart(const Text& part) {
  return part != "00" && part.size() >= 2 && IsAsciiDigit(part[0]) &&
         IsAsciiDigit(part[1]);
}

struct DateParts {
  Text year;
  Text month = "00";
  Text day = "00";
};

// The text before the first `separator` (character search), and the rest after
// it; std::nullopt without one.
std::optional<std::string_view> CutBefore(std::string_view* text,
                                          std::string_view separator) {
  std::size_t position = FindCharacter(*text, separator);
  if (position == kNotFound) return std::nullopt;
  std::string_view before = text->substr(0, position);
  text->remove_prefix(position + separator.size());
  return before;
}

DateParts ReadSeparatedShape(std::string_view date, const DateShape& shape) {
  DateParts parts;
  std::string_view year_text = *CutBefore(&date, shape.year_separator);
  Text trimmed_year = Trim(year_text);
  std::optional<std::int32_t> year = WholeNumber(trimmed_year);
  if (year && *year >= 0) {
    parts.year = trimmed_year.size() < 4 ? CompletedYear(*year) : trimmed_year;
  }
  if (std::optional<std::string_view> month = CutBefore(&date, shape.month_separator)) {
    parts.month = "00" + Trim(*month);
    std::optional<std::string_view> day = CutBefore(&date, shape.day_separator);
    parts.day = LastTwoBytes("00" + Trim(day ? *day : date));
  } else {
    parts.month = "00" + Trim(date);
  }
  parts.month = LastTwoBytes(parts.month);
  return parts;
}

DateParts ReadPlainNumberShape(std::string_view date) {
  DateParts parts;
  Text number = Trim(date);
  std::optional<std::int32_t> value = WholeNumber(number);
  if (!value || *value <= 0) return parts;
  if (number.size() == 8) {
    parts.year = number.substr(0, 4);
    parts.month = number.substr(4, 2);
    parts.day = number.substr(6, 2);
  } else if (number.size() == 6 &&
             (number.starts_with("19") || number.starts_with("20"))) {
    parts.year = number.substr(0, 4);
    parts.month = number.substr(4, 2);
  } else if (number.size() == 6) {
    std::optional<std::int32_t> year = WholeNumber(number.substr(0, 2));
    if (!year) return parts;
    parts.year = CompletedYear(*year);
    parts.month = number.substr(2, 2);
    parts.day = number.substr(4, 2);
  }
  return parts;
}

}  // namespace

void NormalizeReleaseDate(std::string_view text) {
  const Text date = FullWidthAlnumToAscii(text);
  DateParts parts;
  const DateShape* shape = nullptr;
  for (const DateShape& candidate : kDateShapes) {
    if (FindCharacter(date, candidate.test) != kNotFound) {
      shape = &candidate;
      break;
    }
  }
  parts = shape != nullptr ? ReadSeparatedShape(date, *shape) : ReadPlainNumberShape(date);

  BaseField(25) = parts.year;
  if (IsTwoDigitPart(parts.month)) BaseField(26) = parts.month;
  if (IsTwoDigitPart(parts.day)) BaseField(27) = parts.day;
}

}  // namespace orvel
