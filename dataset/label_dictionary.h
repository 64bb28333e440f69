// The label dictionary "LabelsDB.dat": normalises the label (field 14).
#ifndef ORVEL_DATASET_LABEL_DICTIONARY_H_
#define ORVEL_DATASET_LABEL_DICTIONARY_H_

#include "text/text.h"

namespace orvel {

class Platform;

// Replaces the label dictionary by the lines of "LabelsDB.dat" of the work
// folder (no lines when the file is missing).
void LoadLabelDictionary(Platform& platform, const Text& work_folder);

// Rewrites field 14 through the label dictionary.
void NormalizeLabel(Platform& platform);

}  // namespace orvel

#endif  // ORVEL_DATASET_LABEL_DICTIONARY_H_
