// The title heading line of the item page: title (field 2), second title
// part (field 4), volume number (field 5) and subtitle (field 14).
#ifndef ORVEL_MAIN_TITLE_HEADING_H_
#define ORVEL_MAIN_TITLE_HEADING_H_

#include <string_view>

namespace orvel {

// Writes fields 2 and 14 always, field 4 when the heading has an ideographic
// space, field 5 when a volume number is found.
void SplitTitleHeading(std::string_view line);

}  // namespace orvel

#endif  // ORVEL_MAIN_TITLE_HEADING_H_
