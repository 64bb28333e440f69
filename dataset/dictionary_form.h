// The key form of a name, in which the author and label dictionaries write
// their keys.
#ifndef ORVEL_DATASET_DICTIONARY_FORM_H_
#define ORVEL_DATASET_DICTIONARY_FORM_H_

#include <string_view>

#include "text/text.h"

namespace orvel {

class Platform;

// The name without "・☆★♪" and spaces, "ニ" as the kanji "二", in half-width
// forms with every prolonged sound mark as "-", trimmed.
Text DictionaryForm(Platform& platform, std::string_view name);

}  // namespace orvel

#endif  // ORVEL_DATASET_DICTIONARY_FORM_H_
