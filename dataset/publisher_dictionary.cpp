#include "dataset/publisher_dictionary.h"

#include "platform/platform.h"

namespace orvel {

// Not yet read: no publisher is found.
void LookUpPublisher(Platform& /*platform*/, const Text& /*work_folder*/) {}

}  // namespace orvel
