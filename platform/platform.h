// Platform: what the plug-in needs from the operating system and the window
// toolkit, behind one narrow interface. One implementation per platform
// (platform_posix.cpp, platform_windows.cpp); tests swap in a fake.
#ifndef ORVEL_PLATFORM_PLATFORM_H_
#define ORVEL_PLATFORM_PLATFORM_H_

#include <memory>
#include <string>
#include <string_view>

namespace orvel {

// How downloads reach the store. Host names may carry a port (127.0.0.1:8443).
struct DownloadSettings {
  std::string ca_file;              // empty: the system's certificate store
  long connect_timeout_seconds = 15;
  long timeout_seconds = 60;        // the whole request, body included
};

// One download session, kept for a whole run so that one connection can
// serve every request.
class Downloader {
 public:
  virtual ~Downloader() = default;

  // Blocking GET of `url`; the response body goes to the file at `path`.
  // True only when the whole body of a response with a status below 400 was
  // stored. On failure nothing is left at `path`.
  virtual bool Download(const std::string& url, const std::string& path) = 0;
};

class Platform {
 public:
  using ModuleHandle = void*;

  virtual ~Platform() = default;

  // The platform the plug-in runs on; lives as long as the process.
  static Platform& Default();

  // Modules. A path naming the running executable gives the running program.
  // LoadModule answers nullptr on failure.
  virtual ModuleHandle LoadModule(const std::string& path) = 0;
  virtual void* FindSymbol(ModuleHandle module, const char* name) = 0;
  virtual void ReleaseModule(ModuleHandle module) = 0;

  // The folder of the running executable, without a trailing separator.
  virtual std::string ExecutableFolder() = 0;
  // The folder of the plug-in library itself, without a trailing separator.
  virtual std::string PluginFolder() = 0;

  virtual std::unique_ptr<Downloader> OpenDownloader(
      const DownloadSettings& settings) = 0;

  // A message box with no owner, the error icon and an OK button.
  virtual void ShowErrorMessage(std::string_view text) = 0;
  // The toolkit's simple modal message: the text and an OK button.
  virtual void ShowMessage(std::string_view text) = 0;

  // Files, named by Shift-JIS paths. Reads and writes are of whole files,
  // byte for byte.
  virtual bool FileExists(const std::string& path) = 0;
  // True when `path` names a folder (a trailing separator is allowed).
  virtual bool FolderExists(const std::string& path) = 0;
  virtual bool RemoveFile(const std::string& path) = 0;
  virtual bool ReadWholeFile(const std::string& path, std::string* contents) = 0;
  virtual bool WriteWholeFile(const std::string& path, std::string_view contents) = 0;

  // An initialisation-file string, with GetPrivateProfileStringA's rules:
  // the default when the file, section or key is missing; at most 2,047 bytes.
  virtual std::string ReadIniString(const std::string& path,
                                    const std::string& section,
                                    const std::string& key,
                                    const std::string& default_value) = 0;

  // The half-width forms of a Shift-JIS text under the user's locale.
  virtual std::string MapToHalfWidth(std::string_view text) = 0;

  // Delivers the calling thread's pending window messages. Answers true when
  // a request to stop the run was among them and was not delivered to a
  // window (on POSIX: a pending SIGINT or SIGTERM).
  virtual bool DeliverPendingMessages() = 0;

  // The separator between a folder and a file name in paths.
  virtual char PathSeparator() const = 0;
};

}  // namespace orvel

#endif  // ORVEL_PLATFORM_PLATFORM_H_
