#include "main/title_heading.h"

#include <charconv>
#include <cstdint>

#include "common/book_record.h"
#include "text/text.h"
#include "text/text_helpers.h"

namespace orvel {

namespace {

constexpr std::string_view kHeadingMarker = "<h1 itemprop=\"name\">";
constexpr std::string_view kSubtitleMarker = "<span class=\"subTitle\">";
constexpr std::string_view kSubtitleEnd = "</span></h1>";

// The text after the first `character` (character search) up to the next
// `end_marker` (byte search) after it, or to the end; empty without it.
Text TextAfterCharacter(std::string_view text, std::string_view character,
                        std::string_view end_marker) {
  std::size_t start = FindCharacter(text, character);
  if (start == kNotFound) return Text();
  std::string_view rest = text.substr(start + character.size());
  return Text(rest.substr(0, FindBytes(rest, end_marker)));
}

// The text after `start_marker` (byte search) up to the next `character`
// (character search), or to the end; empty without the start marker.
Text TextUpToCharacter(std::string_view text, std::string_view start_marker,
                       std::string_view character) {
  std::size_t start = FindBytes(text, start_marker);
  if (start == kNotFound) return Text();
  std::string_view rest = text.substr(start + start_marker.size());
  return Text(rest.substr(0, FindCharacter(rest, character)));
}

bool IsNumberAboveZero(const Text& digits) {
  std::int32_t value = 0;
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  // Too many digits for a 32-bit number give no volume.
  return error == std::errc() && end == digits.data() + digits.size() && value > 0;
}

// The digits in the first full-width parentheses of the title are its volume
// number; digits of the title itself ("20世紀少年") are not.
void SplitOffVolume() {
  Text& title = BaseField(2);
  std::size_t open = FindCharacter(title, "（"_sj);
  if (open == kNotFound) return;
  std::string_view inside = std::string_view(title).substr(open + "（"_sj.size());
  inside = inside.substr(0, FindCharacter(inside, "）"_sj));
  Text digits = DigitsOrZero(inside);
  if (!IsNumberAboveZero(digits)) return;
  BaseField(5) = digits;  // leading zeros kept
  title.erase(open);
}

}  // namespace

void SplitTitleHeading(std::string_view line) {
  Text heading = RemoveAll(line, "\t");
  heading = RemoveAll(heading, "<b>");
  heading = RemoveAll(heading, "</b>");
  heading = ReplaceAll(heading, "<br>", " ");
  heading = RemoveAll(heading, "【入荷予約】 "_sj);

  Text subtitle = StripMarkup(TextBetween(heading, kSubtitleMarker, kSubtitleEnd));
  subtitle = RemoveAll(subtitle, "（"_sj);
  BaseField(14) = RemoveAll(subtitle, "）"_sj);

  Text main_heading = StripMarkup(TextBetween(heading, kHeadingMarker, kSubtitleMarker));
  if (FindCharacter(main_heading, "　"_sj) != kNotFound) {
    BaseField(4) = StripMarkup(TextAfterCharacter(heading, "　"_sj, "<span"));
    BaseField(2) = StripMarkup(TextUpToCharacter(heading, kHeadingMarker, "　"_sj));
  } else {
    BaseField(2) = main_heading;
  }
  SplitOffVolume();
}

}  // namespace orvel
