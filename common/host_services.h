// The binding to the host's services, exported by its executable
// "korvane.exe": bound at the start of every run, released at its end.
#ifndef ORVEL_COMMON_HOST_SERVICES_H_
#define ORVEL_COMMON_HOST_SERVICES_H_

#include <array>
#include <string_view>

#include "common/calling_convention.h"
#include "text/text.h"

namespace orvel {

class Platform;

using IsbnCheckFunction = const char*(ORVEL_STDCALL*)(const char* code);

// The sixteen services, in the order they are looked up.
inline constexpr std::array<const char*, 16> kHostServiceNames = {
    "InternetConnectFunc", "HTTPDownloadFunc", "HTTPBinaryDownloadFunc",
    "HTTPFlagDownloadFunc", "RefreshFunc",     "ExportFunc",
    "InportFunc",           "ISBNChkFunc",     "JANChkFunc",
    "ASINChkFunc",          "PluginListFunc",  "AcquireCDShow",
    "WaitWindowView",       "WaitBarView",     "WaitWindowClose",
    "SelectExportFunc",
};

// Loads "<executable folder>/korvane.exe" and looks up the sixteen services.
// Shows the host's messages and answers false when the module or a service
// is missing.
bool BindHost(Platform& platform);

// Releases the host module if a load succeeded.
void ReleaseHost(Platform& platform);

// The host's normalised form of `code`; empty when the host answers null.
Text ISBNChkFunc(std::string_view code);

}  // namespace orvel

#endif  // ORVEL_COMMON_HOST_SERVICES_H_
