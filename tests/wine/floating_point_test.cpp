// floating_point_test.exe ORVEL_DLL WORK_FOLDER: calls both exports of the
// plug-in with the floating-point control word of a Delphi host (invalid
// operation, division by zero and overflow unmasked) and checks that each
// call returns with that control word unchanged. The run itself stops early
// (no korvane.exe next to this program), after loading a module and showing a
// message: enough system calls to raise what an unmasked call would.
#include <windows.h>
#include <float.h>

#include <cstdio>
#include <string>

using GetInfo = void(__stdcall*)(int, char*, char*, char*, char*, char*, int);
using Download = void(__stdcall*)(const char*, const char*, const char*);

int main(int argc, char** argv) {
  if (argc != 3) {
    std::printf("usage: floating_point_test.exe ORVEL_DLL WORK_FOLDER\n");
    return 2;
  }
  HMODULE plugin = LoadLibraryA(argv[1]);
  if (plugin == nullptr) {
    std::printf("cannot load %s\n", argv[1]);
    return 1;
  }
  auto get_info = reinterpret_cast<GetInfo>(
      reinterpret_cast<void*>(GetProcAddress(plugin, "funcGetInfo")));
  auto download = reinterpret_cast<Download>(
      reinterpret_cast<void*>(GetProcAddress(plugin, "DownlaodFunc")));
  if (get_info == nullptr || download == nullptr) {
    std::printf("the exports are missing\n");
    return 1;
  }

  _control87(_EM_DENORMAL | _EM_UNDERFLOW | _EM_INEXACT, _MCW_EM);
  const unsigned int host = _control87(0, 0);
  int failures = 0;
  auto check = [&](const char* call) {
    unsigned int after = _control87(0, 0);
    bool same = after == host;
    std::printf("%s: control word %04X before, %04X after: %s\n", call, host, after,
                same ? "restored" : "CHANGED");
    if (!same) ++failures;
  };

  char texts[5][64];
  get_info(0, texts[0], texts[1], texts[2], texts[3], texts[4], sizeof(texts[0]));
  check("funcGetInfo");
  std::string work = std::string(argv[2]) + "\\";
  std::string output = work + "books.csv";
  download(work.c_str(), output.c_str(), "9784000000017\r\n");
  check("DownlaodFunc");
  FreeLibrary(plugin);
  std::printf("%d passed, %d failed\n", 2 - failures, failures);
  return failures == 0 ? 0 : 1;
}
