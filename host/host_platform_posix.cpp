#include <dlfcn.h>
#include <limits.h>
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>


#include "host/host_platform.h"
#include "platform/utf8_from_shift_jis.h"

namespace korvane {

bool LoadPluginLibrary(const std::string& path, PluginLibrary* library,
                       std::string* error) {
  library->module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library->module == nullptr) {
    const char* reason = dlerror();
    *error = reason != nullptr ? reason : "cannot load " + path;
    return false;
  }
  library->get_info = reinterpret_cast<GetInfoFunction>(dlsym(library->module, "funcGetInfo"));
  library->download = reinterpret_cast<DownloadFunction>(dlsym(library->module, "DownlaodFunc"));
  if (library->get_info == nullptr || library->download == nullptr) {
    *error = path + " does not export funcGetInfo and DownlaodFunc";
    UnloadPluginLibrary(library);
    return false;
  }
  return true;
}

void UnloadPluginLibrary(PluginLibrary* library) {
  if (library->module != nullptr) dlclose(library->module);
  *library = PluginLibrary();
}

std::string DefaultPluginPath() {
  char executable[PATH_MAX];
  if (realpath("/proc/self/exe", executable) == nullptr) return "liborvel.so";
  std::string folder(executable);
  folder.erase(folder.rfind('/') + 1);
  return folder + "liborvel.so";
}

std::string CurrentFolderWithSeparator() {
  char folder[PATH_MAX];
  if (getcwd(folder, sizeof(folder)) == nullptr) return "./";
  std::string text(folder);
  if (text.empty() || text.back() != '/') text.push_back('/');
  return text;
}

char PathSeparator() { return '/'; }

std::string ForTerminal(std::string_view shift_jis) { return orvel::Utf8FromShiftJis(shift_jis); }

namespace {

sigset_t StopSignals() {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  return signals;
}

}  // namespace

void HoldStopRequests() {
  sigset_t signals = StopSignals();
  sigprocmask(SIG_BLOCK, &signals, nullptr);
}

void ReleaseStopRequests() {
  // A stop request that arrived after the last code was taken is dropped
  // here rather than ending the host.
  sigset_t signals = StopSignals();
  sigset_t pending;
  struct timespec no_wait = {0, 0};
  while (sigpending(&pending) == 0 &&
         (sigismember(&pending, SIGINT) || sigismember(&pending, SIGTERM))) {
    if (sigtimedwait(&signals, nullptr, &no_wait) < 0) break;
  }
  sigprocmask(SIG_UNBLOCK, &signals, nullptr);
}

void RequestStop() { kill(getpid(), SIGINT); }

}  // namespace korvane
