// The author dictionary "AuthDB.dat" of the work folder and the contributor
// fields (6 to 10 and 64) that it feeds.
#ifndef ORVEL_DATASET_AUTHOR_DICTIONARY_H_
#define ORVEL_DATASET_AUTHOR_DICTIONARY_H_

#include <string_view>

#include "text/text.h"

namespace orvel {

class Platform;

// Replaces the author dictionary by the lines of "AuthDB.dat"; empty and
// false when the file is missing. A file that exists but cannot be read
// raises a RunError.
bool LoadAuthDB(Platform& platform, const Text& work_folder);

// Releases the author dictionary. Always true.
bool FreeAuthDB();

// Writes the contributors of the contributor list into fields 6 to 10 and
// 64, through the author dictionary. Always true.
bool StoreContributors(Platform& platform, bool fill_first, bool fill_second,
                       bool append_further, std::string_view prefix);

}  // namespace orvel

#endif  // ORVEL_DATASET_AUTHOR_DICTIONARY_H_
