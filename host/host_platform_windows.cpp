// The stand-in host on Windows: LoadLibraryA for the plug-in, UTF-8 for the
// terminal, and stop requests as clicks on the progress window's stop button.
#include <windows.h>
#include <fcntl.h>
#include <float.h>
#include <io.h>

#include <cstdio>

#include "host/host_platform.h"
#include "text/shift_jis_literal.h"

namespace korvane {

namespace {

// Set up before main: standard output and error carry the same bytes as on
// Linux (no CR put before each LF; the console shows UTF-8), and floating
// point raises exceptions as in the real host, a Delphi program (invalid
// operation, division by zero and overflow unmasked), so that every run shows
// that the plug-in keeps them masked while it works.
const bool kSetUpAsTheRealHost = [] {
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  SetConsoleOutputCP(CP_UTF8);
  _control87(_EM_DENORMAL | _EM_UNDERFLOW | _EM_INEXACT, _MCW_EM);
  return true;
}();

std::string SystemErrorText(DWORD error) {
  char* text = nullptr;
  DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
          FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string result = length > 0 ? std::string(text, length) : std::string();
  if (text != nullptr) LocalFree(text);
  while (!result.empty() && (result.back() == '\n' || result.back() == '\r')) {
    result.pop_back();
  }
  return result.empty() ? "error " + std::to_string(error) : result;
}

std::string ExecutablePath() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return std::string();
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

// The thread that runs the batch; its progress window has the stop button.
DWORD run_thread = 0;

BOOL CALLBACK FindProgressWindow(HWND window, LPARAM found) {
  char window_class[32];
  if (GetClassNameA(window, window_class, sizeof(window_class)) > 0 &&
      std::string_view(window_class) == "TfrmWait") {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

// The stop button of the progress window that the plug-in made on the run's
// thread, or nullptr before it exists.
HWND StopButton() {
  HWND form = nullptr;
  EnumThreadWindows(run_thread, FindProgressWindow, reinterpret_cast<LPARAM>(&form));
  if (form == nullptr) return nullptr;
  using orvel::operator""_sj;
  std::string caption("中止(&X)"_sj);
  return FindWindowExA(form, nullptr, "Button", caption.c_str());
}

// Ctrl-C and Ctrl-Break during a run click the stop button, as a user would;
// before the window exists they end the host as usual.
BOOL WINAPI OnConsoleStop(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
  HWND button = StopButton();
  if (button == nullptr) return FALSE;
  PostMessageA(button, BM_CLICK, 0, 0);
  return TRUE;
}

}  // namespace

bool LoadPluginLibrary(const std::string& path, PluginLibrary* library,
                       std::string* error) {
  HMODULE module = LoadLibraryA(path.c_str());
  if (module == nullptr) {
    *error = path + ": " + SystemErrorText(GetLastError());
    return false;
  }
  library->module = module;
  library->get_info =
      reinterpret_cast<GetInfoFunction>(reinterpret_cast<void*>(GetProcAddress(module, "funcGetInfo")));
  library->download =
      reinterpret_cast<DownloadFunction>(reinterpret_cast<void*>(GetProcAddress(module, "DownlaodFunc")));
  if (library->get_info == nullptr || library->download == nullptr) {
    *error = path + " does not export funcGetInfo and DownlaodFunc";
    UnloadPluginLibrary(library);
    return false;
  }
  return true;
}

void UnloadPluginLibrary(PluginLibrary* library) {
  if (library->module != nullptr) FreeLibrary(static_cast<HMODULE>(library->module));
  *library = PluginLibrary();
}

std::string DefaultPluginPath() {
  std::string executable = ExecutablePath();
  std::size_t separator = executable.find_last_of("\\/");
  if (separator == std::string::npos) return "orvel.dll";
  return executable.substr(0, separator + 1) + "orvel.dll";
}

std::string CurrentFolderWithSeparator() {
  DWORD length = GetCurrentDirectoryA(0, nullptr);
  std::string folder(length, '\0');
  length = GetCurrentDirectoryA(length, folder.data());
  folder.resize(length);
  if (folder.empty() || folder.back() != '\\') folder.push_back('\\');
  return folder;
}

char PathSeparator() { return '\\'; }

std::string ForTerminal(std::string_view shift_jis) {
  if (shift_jis.empty()) return std::string();
  int size = static_cast<int>(shift_jis.size());
  int wide_length = MultiByteToWideChar(932, 0, shift_jis.data(), size, nullptr, 0);
  std::wstring wide(wide_length, L'\0');
  MultiByteToWideChar(932, 0, shift_jis.data(), size, wide.data(), wide_length);
  int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_length, nullptr, 0, nullptr,
                                   nullptr);
  std::string utf8(length, '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_length, utf8.data(), length, nullptr,
                      nullptr);
  return utf8;
}

void HoldStopRequests() {
  run_thread = GetCurrentThreadId();
  SetConsoleCtrlHandler(OnConsoleStop, TRUE);
}

void ReleaseStopRequests() { SetConsoleCtrlHandler(OnConsoleStop, FALSE); }

void RequestStop() {
  if (HWND button = StopButton()) PostMessageA(button, BM_CLICK, 0, 0);
}

}  // namespace korvane
