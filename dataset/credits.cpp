#include "dataset/credits.h"

namespace orvel {

// Not yet classified: no contributor is found.
int ClassifyCredits(std::string_view /*text*/, std::string_view /*mark*/,
                    std::string_view /*separator*/, std::string_view /*sub_separator*/) {
  return 0;
}

}  // namespace orvel
