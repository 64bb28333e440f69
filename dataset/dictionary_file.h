// The dictionary files of the work folder: lines of "|"-enclosed keys, each
// followed by its value up to the end of the line.
#ifndef ORVEL_DATASET_DICTIONARY_FILE_H_
#define ORVEL_DATASET_DICTIONARY_FILE_H_

#include <optional>
#include <string>
#include <string_view>

#include "text/text.h"

namespace orvel {

class Platform;

// The lines of the file at `path`; none when it is missing. A file that
// exists but cannot be read raises a RunError.
TextList LoadDictionaryLines(Platform& platform, const std::string& path);

// The value of `key` in the dictionary text (the lines joined with CR LF):
// what follows the key's first occurrence (byte search, anywhere in a line)
// up to the end of its line, untrimmed. std::nullopt when the key is absent.
std::optional<Text> DictionaryValue(std::string_view dictionary_text,
                                    std::string_view key);

}  // namespace orvel

#endif  // ORVEL_DATASET_DICTIONARY_FILE_H_
