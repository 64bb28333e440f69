#include "plugin/exports.h"

#include <cfenv>
#include <cstring>
#include <string>

#include "platform/platform.h"
#include "plugin/batch_run.h"
#include "plugin/identity.h"

namespace {

void CopyCut(char* buffer, const std::string& text, int limit) {
  if (buffer == nullptr) return;
  std::size_t length = limit <= 0 ? 0 : std::min<std::size_t>(text.size(), limit);
  std::memcpy(buffer, text.data(), length);
  buffer[length] = '\0';
}

// Hosts written in Delphi run with floating-point exceptions unmasked, so a
// system call made for the plug-in could raise one. For the length of a call
// every exception is masked; the host gets its own control word and flags back
// before the call returns.
class FloatingPointExceptionsMasked {
 public:
  FloatingPointExceptionsMasked() { std::feholdexcept(&host_environment_); }
  ~FloatingPointExceptionsMasked() { std::fesetenv(&host_environment_); }
  FloatingPointExceptionsMasked(const FloatingPointExceptionsMasked&) = delete;
  FloatingPointExceptionsMasked& operator=(const FloatingPointExceptionsMasked&) = delete;

 private:
  std::fenv_t host_environment_;
};

}  // namespace

extern "C" {

// Nothing may leave these two functions as an exception: the host is not
// written in C++ and would end.
void ORVEL_STDCALL funcGetInfo(std::int32_t /*unused*/, char* name, char* description,
                               char* credits, char* version, char* kind,
                               std::int32_t size) {
  FloatingPointExceptionsMasked masked;
  int limit = static_cast<int>(static_cast<std::uint32_t>(size) & 0xFFFF) - 1;
  try {
    orvel::PluginIdentity identity =
        orvel::IdentityOf(orvel::LoadStoreSettings(orvel::Platform::Default()));
    CopyCut(name, identity.entry_name, limit);
    CopyCut(description, identity.description, limit);
    CopyCut(credits, identity.credits, limit);
    CopyCut(version, identity.version, limit);
    CopyCut(kind, identity.kind, limit);
  } catch (...) {
    for (char* buffer : {name, description, credits, version, kind}) {
      CopyCut(buffer, std::string(), limit);
    }
  }
}

void ORVEL_STDCALL DownlaodFunc(const char* work_folder, const char* output_path,
                                const char* code_list) {
  FloatingPointExceptionsMasked masked;
  try {
    orvel::Platform& platform = orvel::Platform::Default();
    orvel::RunBatch(platform, orvel::LoadStoreSettings(platform), work_folder,
                    output_path, code_list);
  } catch (...) {
    // RunBatch reports its own errors; this only keeps the host alive.
  }
}

}  // extern "C"
