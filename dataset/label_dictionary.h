// The label dictionary "LabelsDB.dat": the label (field 14) to store for the
// publisher and the label that the page gave.
#ifndef ORVEL_DATASET_LABEL_DICTIONARY_H_
#define ORVEL_DATASET_LABEL_DICTIONARY_H_

#include "text/text.h"

namespace orvel {

class Platform;

// Replaces the label dictionary by the lines of "LabelsDB.dat" of the work
// folder (no lines when the file is missing). A file that exists but cannot
// be read raises a RunError and leaves the dictionary empty.
void LoadLabelDictionary(Platform& platform, const Text& work_folder);

// Field 14 := the value of "|field 13|dictionary form of field 14|" in the
// label dictionary; unchanged when the key is absent.
void NormalizeLabel(Platform& platform);

}  // namespace orvel

#endif  // ORVEL_DATASET_LABEL_DICTIONARY_H_
