// The platform on Windows: the system's module loader, WinINet for downloads,
// MessageBoxA, the Win32 file and initialisation-file functions, and the
// calling thread's message queue.
#include <windows.h>
#include <wininet.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "platform/half_width_table.h"
#include "platform/platform.h"
#include "text/text.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;  // this module's own image

namespace orvel {

namespace {

std::string ModuleFileName(HMODULE module) {
  std::string name(MAX_PATH, '\0');
  for (;;) {
    DWORD length = GetModuleFileNameA(module, name.data(), static_cast<DWORD>(name.size()));
    if (length == 0) return std::string();
    if (length < name.size()) {
      name.resize(length);
      return name;
    }
    name.resize(name.size() * 2);
  }
}

// The part of a Shift-JIS path before its last separator. A 0x5C that is the
// second byte of a double-byte character is not a separator.
std::string FolderOf(std::string_view path) {
  std::size_t last_separator = std::string_view::npos;
  for (std::size_t i = 0; i < path.size(); ++i) {
    unsigned char byte = static_cast<unsigned char>(path[i]);
    if (IsLeadByte(byte)) {
      ++i;
    } else if (byte == '\\' || byte == '/') {
      last_separator = i;
    }
  }
  if (last_separator == std::string_view::npos) return ".";
  return std::string(path.substr(0, last_separator));
}

// The name of the running executable without folder and extension: the
// caption of the toolkit's simple messages.
std::string ApplicationTitle() {
  std::string path = ModuleFileName(nullptr);
  std::string folder = FolderOf(path);
  std::string name = folder == "." ? path : path.substr(folder.size() + 1);
  std::size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.erase(dot);
  return name;
}

std::wstring Widen(std::string_view text, UINT code_page) {
  if (text.empty()) return std::wstring();
  int length = MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()),
                                   nullptr, 0);
  std::wstring wide(length, L'\0');
  MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                      length);
  return wide;
}

std::string ShiftJisToUtf8(std::string_view text) {
  std::wstring wide = Widen(text, 932);
  if (wide.empty()) return std::string();
  int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                   nullptr, 0, nullptr, nullptr);
  std::string utf8(length, '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(),
                      length, nullptr, nullptr);
  return utf8;
}

bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1 << 20));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

// Tests cannot answer a message box: when ORVEL_MESSAGE_LOG names a file,
// each message is appended to it (UTF-8, one per line) and written to
// standard error, as on POSIX, instead of being shown.
bool LogInsteadOfShowing(std::string_view text) {
  const char* log = std::getenv("ORVEL_MESSAGE_LOG");
  if (log == nullptr || log[0] == '\0') return false;
  std::string line = ShiftJisToUtf8(text) + "\n";
  HANDLE file = CreateFileA(log, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    WriteAll(file, line);
    CloseHandle(file);
  }
  std::string error_line = "orvel: " + line;
  std::fwrite(error_line.data(), 1, error_line.size(), stderr);
  std::fflush(stderr);
  return true;
}

bool IsHttpUrl(std::string_view url) {
  auto starts_with = [&](std::string_view prefix) {
    return url.size() >= prefix.size() &&
           CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, url.data(),
                          static_cast<int>(prefix.size()), prefix.data(),
                          static_cast<int>(prefix.size())) == CSTR_EQUAL;
  };
  return starts_with("http://") || starts_with("https://");
}

// The same limit as the POSIX download.
constexpr int kMaximumRedirects = 10;

// No cache, no cookies, no dialogs. Redirects are followed here, not by
// WinINet, so that only http and https targets are followed.
constexpr DWORD kRequestFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                                INTERNET_FLAG_PRAGMA_NOCACHE | INTERNET_FLAG_NO_COOKIES |
                                INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_AUTO_REDIRECT |
                                INTERNET_FLAG_KEEP_CONNECTION;

// The parts of an http or https URL that a request needs.
struct UrlParts {
  std::string host;
  INTERNET_PORT port = 0;
  std::string target;  // path and query
  bool secure = false;
};

bool CrackUrl(const std::string& url, UrlParts* parts) {
  char host[INTERNET_MAX_HOST_NAME_LENGTH + 1] = {};
  URL_COMPONENTSA components = {};
  components.dwStructSize = sizeof(components);
  components.lpszHostName = host;
  components.dwHostNameLength = sizeof(host);
  components.dwUrlPathLength = 1;  // pointers into `url`
  components.dwExtraInfoLength = 1;
  if (!InternetCrackUrlA(url.c_str(), static_cast<DWORD>(url.size()), 0, &components)) {
    return false;
  }
  if (components.nScheme != INTERNET_SCHEME_HTTP && components.nScheme != INTERNET_SCHEME_HTTPS) {
    return false;
  }
  parts->host = host;
  parts->port = components.nPort;
  parts->secure = components.nScheme == INTERNET_SCHEME_HTTPS;
  parts->target.assign(components.lpszUrlPath != nullptr ? components.lpszUrlPath : "",
                       components.dwUrlPathLength);
  if (components.lpszExtraInfo != nullptr) {
    parts->target.append(components.lpszExtraInfo, components.dwExtraInfoLength);
  }
  if (parts->target.empty()) parts->target = "/";
  return !parts->host.empty();
}

// A request on the run's session. The time-outs are set on the request
// itself before it is sent: a session's receive time-out does not reach the
// requests that InternetOpenUrlA makes under Wine, which then waits for ever
// on a store that never answers.
class Request {
 public:
  Request(HINTERNET session, const UrlParts& url) {
    connection_ = InternetConnectA(session, url.host.c_str(), url.port, nullptr, nullptr,
                                   INTERNET_SERVICE_HTTP, 0, 0);
    if (connection_ == nullptr) return;
    DWORD flags = kRequestFlags | (url.secure ? INTERNET_FLAG_SECURE : 0);
    handle_ = HttpOpenRequestA(connection_, "GET", url.target.c_str(), nullptr, nullptr,
                               nullptr, flags, 0);
  }
  ~Request() {
    if (handle_ != nullptr) InternetCloseHandle(handle_);
    if (connection_ != nullptr) InternetCloseHandle(connection_);
  }
  Request(const Request&) = delete;
  Request& operator=(const Request&) = delete;

  HINTERNET handle() const { return handle_; }

 private:
  HINTERNET connection_ = nullptr;
  HINTERNET handle_ = nullptr;
};

class WinInetDownloader : public Downloader {
 public:
  explicit WinInetDownloader(const DownloadSettings& settings) : settings_(settings) {
    session_ = InternetOpenA("Orvel", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    if (session_ != nullptr) {
      SetTimeout(session_, INTERNET_OPTION_CONNECT_TIMEOUT,
                 settings_.connect_timeout_seconds * 1000);
    }
  }
  ~WinInetDownloader() override {
    if (session_ != nullptr) InternetCloseHandle(session_);
  }

  bool Download(const std::string& url, const std::string& path) override {
    if (session_ == nullptr) return false;
    // The time-out covers the whole request, redirects and body included.
    const ULONGLONG deadline = GetTickCount64() + settings_.timeout_seconds * 1000ULL;
    std::string current = url;
    for (int redirects = 0;; ++redirects) {
      UrlParts parts;
      if (!IsHttpUrl(current) || !CrackUrl(current, &parts)) return false;
      Request request(session_, parts);
      if (request.handle() == nullptr || !SetRemainingTime(request.handle(), deadline) ||
          !HttpSendRequestA(request.handle(), nullptr, 0, nullptr, 0)) {
        return false;
      }
      DWORD status = StatusOf(request.handle());
      std::string location;
      if (status >= 300 && status < 400 && LocationOf(request.handle(), &location)) {
        if (redirects == kMaximumRedirects) return false;
        current = Resolve(current, location);
        continue;
      }
      bool stored = status > 0 && status < 400 && StoreBody(request.handle(), path, deadline);
      if (!stored) DeleteFileA(path.c_str());
      return stored;
    }
  }

 private:
  static void SetTimeout(HINTERNET handle, DWORD option, long long milliseconds) {
    DWORD value = static_cast<DWORD>(std::max<long long>(1, milliseconds));
    InternetSetOptionA(handle, option, &value, sizeof(value));
  }

  // Sends and receives may wait only as long as the request has left; false
  // when nothing is left.
  static bool SetRemainingTime(HINTERNET request, ULONGLONG deadline) {
    ULONGLONG now = GetTickCount64();
    if (now >= deadline) return false;
    SetTimeout(request, INTERNET_OPTION_SEND_TIMEOUT, static_cast<long long>(deadline - now));
    SetTimeout(request, INTERNET_OPTION_RECEIVE_TIMEOUT, static_cast<long long>(deadline - now));
    return true;
  }

  static DWORD StatusOf(HINTERNET request) {
    DWORD status = 0;
    DWORD size = sizeof(status);
    if (!HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                        &size, nullptr)) {
      return 0;
    }
    return status;
  }

  static bool HeaderOf(HINTERNET request, DWORD header, std::string* value) {
    DWORD size = 256;
    for (;;) {
      value->assign(size, '\0');
      if (HttpQueryInfoA(request, header, value->data(), &size, nullptr)) {
        value->resize(size);
        return true;
      }
      if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return false;
    }
  }

  static bool LocationOf(HINTERNET request, std::string* location) {
    return HeaderOf(request, HTTP_QUERY_LOCATION, location) && !location->empty();
  }

  // A relative Location is taken relative to the URL that answered.
  static std::string Resolve(const std::string& base, const std::string& location) {
    DWORD size = static_cast<DWORD>(base.size() + location.size() + 64);
    for (;;) {
      std::string combined(size, '\0');
      if (InternetCombineUrlA(base.c_str(), location.c_str(), combined.data(), &size,
                              ICU_NO_ENCODE)) {
        combined.resize(size);
        return combined;
      }
      if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return location;
    }
  }

  // The body into the file; false when it could not be read whole within
  // the time-out, fell short of its announced length, or was not written.
  bool StoreBody(HINTERNET request, const std::string& path, ULONGLONG deadline) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    unsigned long long received = 0;
    bool complete = false;
    char buffer[16384];
    while (SetRemainingTime(request, deadline)) {
      DWORD count = 0;
      if (!InternetReadFile(request, buffer, sizeof(buffer), &count)) break;
      if (count == 0) {
        complete = true;
        break;
      }
      if (!WriteAll(file, std::string_view(buffer, count))) break;
      received += count;
    }
    bool closed = CloseHandle(file) != 0;
    return complete && closed && HasAnnouncedLength(request, received);
  }

  // A body cut short ends like a whole one; its Content-Length tells.
  static bool HasAnnouncedLength(HINTERNET request, unsigned long long received) {
    std::string length;
    if (!HeaderOf(request, HTTP_QUERY_CONTENT_LENGTH, &length)) return true;
    char* end = nullptr;
    unsigned long long announced = std::strtoull(length.c_str(), &end, 10);
    if (end == length.c_str()) return true;
    return announced == received;
  }

  DownloadSettings settings_;
  HINTERNET session_ = nullptr;
};

class WindowsPlatform : public Platform {
 public:
  ModuleHandle LoadModule(const std::string& path) override {
    return LoadLibraryA(path.c_str());
  }

  void* FindSymbol(ModuleHandle module, const char* name) override {
    if (module == nullptr) return nullptr;
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name));
  }

  void ReleaseModule(ModuleHandle module) override {
    if (module != nullptr) FreeLibrary(static_cast<HMODULE>(module));
  }

  std::string ExecutableFolder() override { return FolderOf(ModuleFileName(nullptr)); }

  std::string PluginFolder() override {
    return FolderOf(ModuleFileName(reinterpret_cast<HMODULE>(&__ImageBase)));
  }

  std::unique_ptr<Downloader> OpenDownloader(const DownloadSettings& settings) override {
    return std::make_unique<WinInetDownloader>(settings);
  }

  void ShowErrorMessage(std::string_view text) override {
    if (LogInsteadOfShowing(text)) return;
    std::string message(text);
    MessageBoxA(nullptr, message.c_str(), nullptr, MB_ICONERROR | MB_OK);
  }

  void ShowMessage(std::string_view text) override {
    if (LogInsteadOfShowing(text)) return;
    std::string message(text);
    std::string title = ApplicationTitle();
    MessageBoxA(nullptr, message.c_str(), title.c_str(), MB_OK);
  }

  bool FileExists(const std::string& path) override {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
  }

  // A trailing separator is allowed ("C:\work\" names the folder).
  bool FolderExists(const std::string& path) override {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  }

  bool RemoveFile(const std::string& path) override { return DeleteFileA(path.c_str()) != 0; }

  bool ReadWholeFile(const std::string& path, std::string* contents) override {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    contents->clear();
    char buffer[65536];
    bool read = true;
    for (;;) {
      DWORD count = 0;
      if (!ReadFile(file, buffer, sizeof(buffer), &count, nullptr)) {
        read = false;
        break;
      }
      if (count == 0) break;
      contents->append(buffer, count);
    }
    CloseHandle(file);
    return read;
  }

  bool WriteWholeFile(const std::string& path, std::string_view contents) override {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool written = WriteAll(file, contents);
    written = CloseHandle(file) != 0 && written;
    // A file cut short by a full disk would be imported as if it were whole.
    if (!written) DeleteFileA(path.c_str());
    return written;
  }

  std::string ReadIniString(const std::string& path, const std::string& section,
                            const std::string& key,
                            const std::string& default_value) override {
    char value[2048];
    DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(),
                                            default_value.c_str(), value, sizeof(value),
                                            path.c_str());
    return std::string(value, strnlen(value, length));
  }

  // The same table as on POSIX, so that both builds give the same bytes:
  // LCMapStringA would also turn characters without a half-width form in
  // code page 932 into "?" and rewrite NEC and IBM duplicate codes.
  std::string MapToHalfWidth(std::string_view text) override {
    return MapToHalfWidthByTable(text);
  }

  // Stop requests reach the stop button as window messages, so nothing is
  // left for the caller to act on. A quit request is put back for the host's
  // own message loop.
  bool DeliverPendingMessages() override {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(message.wParam));
        break;
      }
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    return false;
  }

  char PathSeparator() const override { return '\\'; }
};

}  // namespace

Platform& Platform::Default() {
  static WindowsPlatform* const platform = new WindowsPlatform();
  return *platform;
}

}  // namespace orvel
