#include "dataset/author_dictionary.h"

#include "platform/platform.h"

namespace orvel {

// Not yet read: the dictionary is always empty.
bool LoadAuthDB(Platform& /*platform*/, const Text& /*work_folder*/) { return false; }

bool FreeAuthDB() { return true; }

bool StoreContributors(Platform& /*platform*/, bool /*fill_first*/, bool /*fill_second*/,
                       bool /*append_further*/, std::string_view /*prefix*/) {
  return true;
}

}  // namespace orvel
