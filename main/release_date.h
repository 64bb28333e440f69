// The release date of the item page: one date text, in Japanese, dotted,
// slashed or plain-number shape, into the release year, month and day
// (fields 25, 26 and 27).
#ifndef ORVEL_MAIN_RELEASE_DATE_H_
#define ORVEL_MAIN_RELEASE_DATE_H_

#include <string_view>

namespace orvel {

// Field 25 := the year (empty when none is recognised); fields 26 and 27 only
// when a two-digit month or day is found. `text` is free of markup.
void NormalizeReleaseDate(std::string_view text);

}  // namespace orvel

#endif  // ORVEL_MAIN_RELEASE_DATE_H_
