// An in-memory platform for tests: files, a store, a host module and the
// messages shown, all held in maps that a test fills and reads.
#ifndef ORVEL_PLATFORM_PLATFORM_FAKE_H_
#define ORVEL_PLATFORM_PLATFORM_FAKE_H_

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace orvel {

class FakePlatform : public Platform {
 public:
  // What the fake store answers for a URL: the body, or a failed download
  // (which leaves no file, as the real download does).
  struct StoreAnswer {
    std::string body;
    bool fails = false;
  };

  std::string executable_folder = "/host";
  std::string plugin_folder = "/plugin";
  std::map<std::string, std::string> files;         // path -> contents
  std::map<std::string, bool> unreadable_files;      // exists, cannot be read
  std::map<std::string, bool> unwritable_files;      // cannot be written
  std::map<std::string, bool> missing_folders;       // every other folder exists
  std::map<std::string, StoreAnswer> store;          // URL -> answer
  std::map<std::string, void*> host_symbols;         // name -> address
  bool host_module_exists = true;

  // Observations.
  std::vector<std::string> downloads;       // URLs, in order
  std::vector<std::string> error_messages;  // ShowErrorMessage texts
  std::vector<std::string> messages;        // ShowMessage texts
  int loaded_modules = 0;                   // loads minus releases
  int open_downloaders = 0;

  // Called by DeliverPendingMessages; answers whether a stop is requested.
  std::function<bool()> pending_stop;
  // Called at every download, before it is answered.
  std::function<void(const std::string& url)> on_download;

  ModuleHandle LoadModule(const std::string& path) override;
  void* FindSymbol(ModuleHandle module, const char* name) override;
  void ReleaseModule(ModuleHandle module) override;
  std::string ExecutableFolder() override { return executable_folder; }
  std::string PluginFolder() override { return plugin_folder; }
  std::unique_ptr<Downloader> OpenDownloader(const DownloadSettings& settings) override;
  void ShowErrorMessage(std::string_view text) override;
  void ShowMessage(std::string_view text) override;
  bool FileExists(const std::string& path) override;
  bool FolderExists(const std::string& path) override { return missing_folders.count(path) == 0; }
  bool RemoveFile(const std::string& path) override;
  bool ReadWholeFile(const std::string& path, std::string* contents) override;
  bool WriteWholeFile(const std::string& path, std::string_view contents) override;
  std::string ReadIniString(const std::string& path, const std::string& section,
                            const std::string& key,
                            const std::string& default_value) override;
  std::string MapToHalfWidth(std::string_view text) override;
  bool DeliverPendingMessages() override;
  char PathSeparator() const override { return '/'; }

  std::string last_loaded_module_path;
};

}  // namespace orvel

#endif  // ORVEL_PLATFORM_PLATFORM_FAKE_H_
