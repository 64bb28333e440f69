// The platform on Linux and other POSIX systems: dlopen for modules, libcurl
// for downloads, standard error for message boxes, signals for stop requests.
#include <curl/curl.h>
#include <dlfcn.h>
#include <limits.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <mutex>
#include <string>

#include "platform/half_width_table.h"
#include "platform/ini_reader.h"
#include "platform/platform.h"
#include "platform/utf8_from_shift_jis.h"

namespace orvel {

namespace {

std::string RealPath(const std::string& path) {
  char resolved[PATH_MAX];
  if (realpath(path.c_str(), resolved) == nullptr) return std::string();
  return resolved;
}

std::string FolderOf(const std::string& path) {
  std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

size_t WriteToFile(char* data, size_t size, size_t count, void* file) {
  return std::fwrite(data, size, count, static_cast<FILE*>(file)) * size;
}

class CurlDownloader : public Downloader {
 public:
  explicit CurlDownloader(const DownloadSettings& settings) : settings_(settings) {
    static std::once_flag global_init;
    std::call_once(global_init, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    handle_ = curl_easy_init();
  }
  ~CurlDownloader() override {
    if (handle_ != nullptr) curl_easy_cleanup(handle_);
  }

  bool Download(const std::string& url, const std::string& path) override {
    if (handle_ == nullptr) return false;
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    // The same handle for every request keeps its connection alive.
    curl_easy_setopt(handle_, CURLOPT_URL, url.c_str());
    curl_easy_setopt(handle_, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(handle_, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(handle_, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(handle_, CURLOPT_MAXREDIRS, 10L);
    curl_easy_setopt(handle_, CURLOPT_CONNECTTIMEOUT, settings_.connect_timeout_seconds);
    curl_easy_setopt(handle_, CURLOPT_TIMEOUT, settings_.timeout_seconds);
    curl_easy_setopt(handle_, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle_, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(handle_, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!settings_.ca_file.empty()) {
      curl_easy_setopt(handle_, CURLOPT_CAINFO, settings_.ca_file.c_str());
    }
    curl_easy_setopt(handle_, CURLOPT_WRITEFUNCTION, WriteToFile);
    curl_easy_setopt(handle_, CURLOPT_WRITEDATA, file);
    CURLcode result = curl_easy_perform(handle_);
    long status = 0;
    curl_easy_getinfo(handle_, CURLINFO_RESPONSE_CODE, &status);
    bool written = std::fflush(file) == 0 && !std::ferror(file);
    written = std::fclose(file) == 0 && written;
    bool succeeded = result == CURLE_OK && status > 0 && status < 400 && written;
    if (!succeeded) unlink(path.c_str());
    return succeeded;
  }

 private:
  DownloadSettings settings_;
  CURL* handle_ = nullptr;
};

class PosixPlatform : public Platform {
 public:
  ModuleHandle LoadModule(const std::string& path) override {
    std::string resolved = RealPath(path);
    // The running executable itself gives the main program, whose exported
    // symbols are then found.
    if (!resolved.empty() && resolved == RealPath("/proc/self/exe")) {
      return dlopen(nullptr, RTLD_NOW);
    }
    return dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  }

  void* FindSymbol(ModuleHandle module, const char* name) override {
    if (module == nullptr) return nullptr;
    return dlsym(module, name);
  }

  void ReleaseModule(ModuleHandle module) override {
    if (module != nullptr) dlclose(module);
  }

  std::string ExecutableFolder() override {
    return FolderOf(RealPath("/proc/self/exe"));
  }

  std::string PluginFolder() override {
    Dl_info info;
    if (dladdr(reinterpret_cast<void*>(&FolderOf), &info) == 0 ||
        info.dli_fname == nullptr) {
      return ExecutableFolder();
    }
    std::string library = RealPath(info.dli_fname);
    return library.empty() ? ExecutableFolder() : FolderOf(library);
  }

  std::unique_ptr<Downloader> OpenDownloader(const DownloadSettings& settings) override {
    return std::make_unique<CurlDownloader>(settings);
  }

  void ShowErrorMessage(std::string_view text) override { Show(text); }
  void ShowMessage(std::string_view text) override { Show(text); }

  bool FileExists(const std::string& path) override {
    struct stat status;
    return stat(path.c_str(), &status) == 0;
  }

  bool FolderExists(const std::string& path) override {
    struct stat status;
    return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
  }

  // Only files: a device or other special file at the path stays, as the
  // Windows deletion leaves it.
  bool RemoveFile(const std::string& path) override {
    struct stat status;
    if (lstat(path.c_str(), &status) != 0) return false;
    if (!S_ISREG(status.st_mode) && !S_ISLNK(status.st_mode)) return false;
    return unlink(path.c_str()) == 0;
  }

  bool ReadWholeFile(const std::string& path, std::string* contents) override {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    contents->clear();
    struct stat status;
    if (fstat(fileno(file), &status) == 0 && status.st_size > 0) {
      contents->reserve(static_cast<std::size_t>(status.st_size));
    }
    char buffer[65536];
    std::size_t count;
    while ((count = std::fread(buffer, 1, sizeof(buffer), file)) > 0) {
      contents->append(buffer, count);
    }
    bool read = !std::ferror(file);
    std::fclose(file);
    return read;
  }

  bool WriteWholeFile(const std::string& path, std::string_view contents) override {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    bool written = std::fwrite(contents.data(), 1, contents.size(), file) == contents.size();
    written = std::fflush(file) == 0 && written;
    written = std::fclose(file) == 0 && written;
    // A file cut short by a full disk would be imported as if it were whole.
    if (!written) RemoveFile(path);
    return written;
  }

  std::string ReadIniString(const std::string& path, const std::string& section,
                            const std::string& key,
                            const std::string& default_value) override {
    std::string contents;
    if (!ReadWholeFile(path, &contents)) return IniDefaultValue(default_value);
    return ReadIniValue(contents, section, key, default_value);
  }

  std::string MapToHalfWidth(std::string_view text) override {
    return MapToHalfWidthByTable(text);
  }

  // The host blocks SIGINT and SIGTERM during a run; one that is pending is
  // taken here, without waiting, as a request to stop.
  bool DeliverPendingMessages() override {
    sigset_t stop_signals;
    sigemptyset(&stop_signals);
    sigaddset(&stop_signals, SIGINT);
    sigaddset(&stop_signals, SIGTERM);
    sigset_t pending;
    if (sigpending(&pending) != 0) return false;
    if (!sigismember(&pending, SIGINT) && !sigismember(&pending, SIGTERM)) return false;
    struct timespec no_wait = {0, 0};
    return sigtimedwait(&stop_signals, nullptr, &no_wait) > 0;
  }

  char PathSeparator() const override { return '/'; }

 private:
  // Message boxes do not wait on POSIX: the text goes to standard error and,
  // when ORVEL_MESSAGE_LOG names a file, is appended there for tests.
  static void Show(std::string_view text) {
    std::string utf8 = Utf8FromShiftJis(text);
    std::fprintf(stderr, "orvel: %s\n", utf8.c_str());
    const char* log = std::getenv("ORVEL_MESSAGE_LOG");
    if (log != nullptr && log[0] != '\0') {
      if (FILE* file = std::fopen(log, "ab")) {
        std::fprintf(file, "%s\n", utf8.c_str());
        std::fclose(file);
      }
    }
  }
};

}  // namespace

Platform& Platform::Default() {
  static PosixPlatform* const platform = new PosixPlatform();
  return *platform;
}

}  // namespace orvel
