// Where the store is: its host, the image host, and how downloads reach it.
// Read from the environment, then from "orvel.ini" next to the plug-in, then
// the built-in defaults.
#ifndef ORVEL_PLUGIN_STORE_SETTINGS_H_
#define ORVEL_PLUGIN_STORE_SETTINGS_H_

#include <string>

#include "platform/platform.h"

namespace orvel {

struct StoreSettings {
  std::string store_host = "books.example";
  std::string image_host = "images.books.example";
  DownloadSettings download;
};

// ORVEL_STORE_HOST, ORVEL_IMAGE_HOST, ORVEL_CA_FILE, ORVEL_CONNECT_TIMEOUT_S
// and ORVEL_TIMEOUT_S; else section "Store" of orvel.ini, keys "Host",
// "ImageHost", "CAFile", "ConnectTimeout" and "Timeout". A time-out that is
// not a whole number of seconds above 0 keeps its default.
StoreSettings LoadStoreSettings(Platform& platform);

}  // namespace orvel

#endif  // ORVEL_PLUGIN_STORE_SETTINGS_H_
