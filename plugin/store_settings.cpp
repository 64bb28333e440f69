#include "plugin/store_settings.h"

#include <charconv>
#include <cstdlib>

namespace orvel {

namespace {

class SettingSources {
 public:
  explicit SettingSources(Platform& platform)
      : platform_(platform),
        ini_path_(platform.PluginFolder() + platform.PathSeparator() + "orvel.ini") {}

  std::string Value(const char* variable, const char* key,
                    const std::string& default_value) const {
    const char* from_environment = std::getenv(variable);
    if (from_environment != nullptr && from_environment[0] != '\0') {
      return from_environment;
    }
    return platform_.ReadIniString(ini_path_, "Store", key, default_value);
  }

  long Seconds(const char* variable, const char* key, long default_value) const {
    std::string text = Value(variable, key, std::string());
    long seconds = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    bool whole = error == std::errc() && end == text.data() + text.size();
    return whole && seconds > 0 ? seconds : default_value;
  }

 private:
  Platform& platform_;
  std::string ini_path_;
};

}  // namespace

StoreSettings LoadStoreSettings(Platform& platform) {
  SettingSources sources(platform);
  StoreSettings settings;
  settings.store_host = sources.Value("ORVEL_STORE_HOST", "Host", settings.store_host);
  settings.image_host =
      sources.Value("ORVEL_IMAGE_HOST", "ImageHost", settings.image_host);
  settings.download.ca_file = sources.Value("ORVEL_CA_FILE", "CAFile", "");
  settings.download.connect_timeout_seconds =
      sources.Seconds("ORVEL_CONNECT_TIMEOUT_S", "ConnectTimeout",
                      settings.download.connect_timeout_seconds);
  settings.download.timeout_seconds = sources.Seconds(
      "ORVEL_TIMEOUT_S", "Timeout", settings.download.timeout_seconds);
  return settings;
}

}  // namespace orvel
