// The publisher dictionary "PubDB.dat": the publisher's name by the
// publisher code inside the book's ISBN.
#ifndef ORVEL_DATASET_PUBLISHER_DICTIONARY_H_
#define ORVEL_DATASET_PUBLISHER_DICTIONARY_H_

#include "text/text.h"

namespace orvel {

class Platform;

// Sets field 13 from the publisher code in field 1, through "PubDB.dat" of
// the work folder ("|code|name" lines; the shortest code found wins). Only
// Japanese ISBNs are looked up. A file that exists but cannot be read raises
// a RunError.
void LookUpPublisher(Platform& platform, const Text& work_folder);

}  // namespace orvel

#endif  // ORVEL_DATASET_PUBLISHER_DICTIONARY_H_
