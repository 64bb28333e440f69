// The small, stateless text operations shared by the page parser, the
// dictionaries and the output line: text between markers, markup stripping,
// width conversions, digits, separated items and the EUC-JP conversion.
#ifndef ORVEL_TEXT_TEXT_HELPERS_H_
#define ORVEL_TEXT_TEXT_HELPERS_H_

#include <string_view>

#include "text/text.h"

namespace orvel {

class Platform;

// The text after the first `start_marker` (byte search) up to the first
// `end_marker` after it; the whole rest without an end marker; empty when the
// start marker is empty or missing.
Text TextBetween(std::string_view text, std::string_view start_marker,
                 std::string_view end_marker);

// Removes tags, keeps comments with their markers, decodes &lt; &gt; &nbsp;.
Text StripMarkup(std::string_view text);

// Full-width digits and Latin letters (lead byte 0x82) to ASCII.
Text FullWidthAlnumToAscii(std::string_view text);

// The platform's half-width forms of the text, never truncated.
Text ToHalfWidth(Platform& platform, std::string_view text);

// The ASCII digits of the text; the text unchanged when it has none.
Text DigitsOnly(std::string_view text);
// The ASCII digits of the text; "0" when it has none.
Text DigitsOrZero(std::string_view text);

// Item `n` (from 1) of a text separated by the single-byte `separator`,
// found by character search; empty when there are fewer items or n < 1.
Text SeparatedItem(std::string_view text, char separator, int n);

// Converts EUC-JP bytes to Shift-JIS. A JIS X 0212 character (0x8F and two
// bytes) becomes the geta mark; a lead byte or 0x8E at the very end is copied.
Text EucJpToShiftJis(std::string_view text);
// The Shift-JIS bytes of the JIS X 0208 character (j1, j2).
Text JisPairToShiftJis(unsigned char j1, unsigned char j2);

}  // namespace orvel

#endif  // ORVEL_TEXT_TEXT_HELPERS_H_
