#include "host/services.h"

#include <string>

#include "common/calling_convention.h"
#include "host/isbn_check.h"

#if defined(_WIN32)
#define KORVANE_SERVICE extern "C" __declspec(dllexport)
#else
#define KORVANE_SERVICE extern "C" __attribute__((visibility("default")))
#endif

namespace korvane {
namespace {

std::function<void(int)>& CheckObserver() {
  static std::function<void(int)> observer;
  return observer;
}

int check_calls = 0;

}  // namespace

void SetCheckObserver(std::function<void(int call)> observer) {
  CheckObserver() = std::move(observer);
}

}  // namespace korvane

// The returned text belongs to the host and stays valid until the next call.
KORVANE_SERVICE const char* ORVEL_STDCALL ISBNChkFunc(const char* code) {
  static std::string result;
  ++korvane::check_calls;
  if (korvane::CheckObserver()) korvane::CheckObserver()(korvane::check_calls);
  result = code == nullptr ? std::string() : korvane::NormaliseCode(code);
  return result.c_str();
}

// The fifteen services that plug-ins look up but that this host does not
// provide: they do nothing.
#define KORVANE_EMPTY_SERVICE(name) \
  KORVANE_SERVICE int ORVEL_STDCALL name() { return 0; }

KORVANE_EMPTY_SERVICE(InternetConnectFunc)
KORVANE_EMPTY_SERVICE(HTTPDownloadFunc)
KORVANE_EMPTY_SERVICE(HTTPBinaryDownloadFunc)
KORVANE_EMPTY_SERVICE(HTTPFlagDownloadFunc)
KORVANE_EMPTY_SERVICE(RefreshFunc)
KORVANE_EMPTY_SERVICE(ExportFunc)
KORVANE_EMPTY_SERVICE(InportFunc)
KORVANE_EMPTY_SERVICE(JANChkFunc)
KORVANE_EMPTY_SERVICE(ASINChkFunc)
KORVANE_EMPTY_SERVICE(PluginListFunc)
KORVANE_EMPTY_SERVICE(AcquireCDShow)
KORVANE_EMPTY_SERVICE(WaitWindowView)
KORVANE_EMPTY_SERVICE(WaitBarView)
KORVANE_EMPTY_SERVICE(WaitWindowClose)
KORVANE_EMPTY_SERVICE(SelectExportFunc)
