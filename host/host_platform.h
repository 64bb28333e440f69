// What the stand-in host needs from its platform: loading the plug-in,
// showing Shift-JIS text, and a stop request at a given code.
#ifndef ORVEL_HOST_HOST_PLATFORM_H_
#define ORVEL_HOST_HOST_PLATFORM_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "common/calling_convention.h"

namespace korvane {

using GetInfoFunction = void(ORVEL_STDCALL*)(std::int32_t, char*, char*, char*, char*,
                                            char*, std::int32_t);
using DownloadFunction = void(ORVEL_STDCALL*)(const char*, const char*, const char*);

struct PluginLibrary {
  void* module = nullptr;
  GetInfoFunction get_info = nullptr;
  DownloadFunction download = nullptr;
};

// Loads the plug-in and finds its two exports; `error` says why not.
bool LoadPluginLibrary(const std::string& path, PluginLibrary* library,
                       std::string* error);
void UnloadPluginLibrary(PluginLibrary* library);

// The plug-in file next to the running executable.
std::string DefaultPluginPath();
// The current directory, with a trailing separator.
std::string CurrentFolderWithSeparator();
char PathSeparator();

// Shift-JIS text as the terminal shows it.
std::string ForTerminal(std::string_view shift_jis);

// Holds back stop requests (Ctrl-C) while a run is in progress, so that the
// plug-in takes them between codes.
void HoldStopRequests();
void ReleaseStopRequests();
// Requests a stop the way a user does, while a run is in progress.
void RequestStop();

}  // namespace korvane

#endif  // ORVEL_HOST_HOST_PLATFORM_H_
