#include "main/description_section.h"

#include "platform/platform.h"

namespace orvel {

// Not yet read: the section gives nothing.
void ScanDescriptionSection(Platform& /*platform*/, const TextList& /*lines*/,
                            std::size_t /*current*/) {}

}  // namespace orvel
