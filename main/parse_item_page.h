// The item page parser: fills the book record from the store's item page.
#ifndef ORVEL_MAIN_PARSE_ITEM_PAGE_H_
#define ORVEL_MAIN_PARSE_ITEM_PAGE_H_

#include <string>
#include <string_view>

namespace orvel {

class Platform;

// Reads the EUC-JP page at `page_path` and fills the book record. True when
// the page was an item page (a title heading was examined); false when the
// page is missing, cannot be read or has no title heading, or when a stop
// was requested before its first line. `cover_marker` is
// "<dt><a href=\"//" + image host + "/book/cabinet/".
bool ParseItemPage(Platform& platform, const std::string& page_path,
                   std::string_view cover_marker);

}  // namespace orvel

#endif  // ORVEL_MAIN_PARSE_ITEM_PAGE_H_
