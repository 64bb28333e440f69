// The plug-in's identity texts, as funcGetInfo hands them to the host.
#ifndef ORVEL_PLUGIN_IDENTITY_H_
#define ORVEL_PLUGIN_IDENTITY_H_

#include <string>

#include "plugin/store_settings.h"
#include "text/text.h"

namespace orvel {

struct PluginIdentity {
  std::string entry_name;
  Text description;
  Text credits;
  std::string version;
  std::string kind;
};

inline PluginIdentity IdentityOf(const StoreSettings& settings) {
  return PluginIdentity{
      "DownlaodFunc",
      std::string("ISBN/JAN検索 "_sj) + settings.store_host,
      std::string("Orvel(pemdu改) based on ZUNARO"_sj),
      "1.3.0",
      "3",
  };
}

}  // namespace orvel

#endif  // ORVEL_PLUGIN_IDENTITY_H_
