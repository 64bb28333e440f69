#include "dataset/author_dictionary.h"

#include "platform/platform.h"

namespace orvel {

// Not yet read: the dictionary is always empty.
bool LoadAuthDB(Platform& /*platform*/, const Text& /*work_folder*/) { return false; }

bool FreeAuthDB() { return true; }

}  // namespace orvel
