// The batch look-up: for each code of the list, the store's search page, the
// first item link, the item page, and one output line per book found.
#ifndef ORVEL_PLUGIN_BATCH_RUN_H_
#define ORVEL_PLUGIN_BATCH_RUN_H_

#include <string>

#include "plugin/store_settings.h"
#include "text/text.h"

namespace orvel {

class Platform;

// The run behind DownlaodFunc. Each argument may be null. Never throws:
// unexpected errors end the run with the collected lines saved and a message.
void RunBatch(Platform& platform, const StoreSettings& settings,
              const char* work_folder, const char* output_path,
              const char* code_list);

// The work folder text of the latest run.
const Text& WorkFolder();

// The item link of a result page (EUC-JP bytes): the text between the first
// "<a href=\"" and the next "\">" on the first line holding the result
// marker; empty when there is no such line or marker.
Text FirstItemLink(std::string_view result_page);

// "https://" + store host + "/search?sitem=" + the code, with every byte
// other than ASCII letters, digits and "-._~" percent-encoded.
std::string SearchUrl(const std::string& store_host, std::string_view code);

}  // namespace orvel

#endif  // ORVEL_PLUGIN_BATCH_RUN_H_
