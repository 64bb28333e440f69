#include "dataset/label_dictionary.h"

#include "platform/platform.h"

namespace orvel {

// Not yet read: the dictionary has no lines and labels stay as they are.
void LoadLabelDictionary(Platform& /*platform*/, const Text& /*work_folder*/) {}

void NormalizeLabel(Platform& /*platform*/) {}

}  // namespace orvel
