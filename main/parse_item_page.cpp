#include "main/parse_item_page.h"

#include "platform/platform.h"

namespace orvel {

// Not yet an item page parser: every page is answered as not an item page.
bool ParseItemPage(Platform& /*platform*/, const std::string& /*page_path*/,
                   std::string_view /*cover_marker*/) {
  return false;
}

}  // namespace orvel
