// The output line of the book record (68 comma-separated columns in the
// host's import order) and the output file of a run.
#ifndef ORVEL_COMMON_OUTPUT_LINE_H_
#define ORVEL_COMMON_OUTPUT_LINE_H_

#include <string>
#include <string_view>

#include "text/text.h"

namespace orvel {

class Platform;

inline constexpr int kOutputColumnCount = 68;

// CR LF becomes "$$", a double quote "”" and a comma "，".
Text EscapeField(std::string_view text);

// The output line of the current record. Fields 3, 7 and 9 are first
// replaced in the record by their half-width forms.
Text BaseToLine(Platform& platform);

// Writes the lines, each followed by CR LF, as the whole output file.
bool SaveOutputFile(Platform& platform, const std::string& path,
                    const TextList& lines);

}  // namespace orvel

#endif  // ORVEL_COMMON_OUTPUT_LINE_H_
