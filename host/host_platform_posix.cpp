#include <dlfcn.h>
#include <iconv.h>
#include <limits.h>
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>

#include "host/host_platform.h"

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

std::string ForTerminal(std::string_view shift_jis) {
  iconv_t converter = iconv_open("UTF-8", "CP932");
  if (converter == reinterpret_cast<iconv_t>(-1)) return std::string(shift_jis);
  std::string input(shift_jis);
  std::string result;
  char* in = input.data();
  std::size_t in_left = input.size();
  char buffer[4096];
  while (in_left > 0) {
    char* out = buffer;
    std::size_t out_left = sizeof(buffer);
    std::size_t converted = iconv(converter, &in, &in_left, &out, &out_left);
    result.append(buffer, out - buffer);
    if (converted == static_cast<std::size_t>(-1) && errno != E2BIG) {
      result.push_back('?');
      ++in;
      --in_left;
    }
  }
  iconv_close(converter);
  return result;
}

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
