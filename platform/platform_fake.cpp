#include "platform/platform_fake.h"

#include "platform/half_width_table.h"
#include "platform/ini_reader.h"

namespace orvel {

namespace {

class FakeDownloader : public Downloader {
 public:
  explicit FakeDownloader(FakePlatform& platform) : platform_(platform) {
    ++platform_.open_downloaders;
  }
  ~FakeDownloader() override { --platform_.open_downloaders; }

  bool Download(const std::string& url, const std::string& path) override {
    platform_.downloads.push_back(url);
    if (platform_.on_download) platform_.on_download(url);
    auto answer = platform_.store.find(url);
    if (answer == platform_.store.end() || answer->second.fails) {
      platform_.files.erase(path);
      return false;
    }
    platform_.files[path] = answer->second.body;
    return true;
  }

 private:
  FakePlatform& platform_;
};

int host_module_token;  // the address handed out as the host module

}  // namespace

Platform::ModuleHandle FakePlatform::LoadModule(const std::string& path) {
  last_loaded_module_path = path;
  if (!host_module_exists) return nullptr;
  ++loaded_modules;
  return &host_module_token;
}

void* FakePlatform::FindSymbol(ModuleHandle /*module*/, const char* name) {
  auto symbol = host_symbols.find(name);
  return symbol == host_symbols.end() ? nullptr : symbol->second;
}

void FakePlatform::ReleaseModule(ModuleHandle /*module*/) { --loaded_modules; }

std::unique_ptr<Downloader> FakePlatform::OpenDownloader(
    const DownloadSettings& /*settings*/) {
  return std::make_unique<FakeDownloader>(*this);
}

void FakePlatform::ShowErrorMessage(std::string_view text) {
  error_messages.emplace_back(text);
}

void FakePlatform::ShowMessage(std::string_view text) { messages.emplace_back(text); }

bool FakePlatform::FileExists(const std::string& path) {
  return files.count(path) != 0 || unreadable_files.count(path) != 0;
}

bool FakePlatform::RemoveFile(const std::string& path) {
  return files.erase(path) != 0;
}

bool FakePlatform::ReadWholeFile(const std::string& path, std::string* contents) {
  if (unreadable_files.count(path) != 0) return false;
  auto file = files.find(path);
  if (file == files.end()) return false;
  *contents = file->second;
  return true;
}

bool FakePlatform::WriteWholeFile(const std::string& path, std::string_view contents) {
  if (unwritable_files.count(path) != 0) return false;
  files[path] = std::string(contents);
  return true;
}

std::string FakePlatform::ReadIniString(const std::string& path,
                                        const std::string& section,
                                        const std::string& key,
                                        const std::string& default_value) {
  auto file = files.find(path);
  if (file == files.end()) return IniDefaultValue(default_value);
  return ReadIniValue(file->second, section, key, default_value);
}

std::string FakePlatform::MapToHalfWidth(std::string_view text) {
  return MapToHalfWidthByTable(text);
}

bool FakePlatform::DeliverPendingMessages() {
  return pending_stop ? pending_stop() : false;
}

}  // namespace orvel
