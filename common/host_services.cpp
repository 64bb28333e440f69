#include "common/host_services.h"

#include <exception>

#include "platform/platform.h"

namespace orvel {

namespace {

struct HostBinding {
  Platform::ModuleHandle module = nullptr;
  std::array<void*, kHostServiceNames.size()> services{};
};

HostBinding& Binding() {
  static HostBinding* const binding = new HostBinding();
  return *binding;
}

constexpr std::size_t kIsbnCheckIndex = 7;
static_assert(std::string_view(kHostServiceNames[kIsbnCheckIndex]) == "ISBNChkFunc");

}  // namespace

bool BindHost(Platform& platform) {
  HostBinding& binding = Binding();
  binding.services.fill(nullptr);
  try {
    std::string path =
        platform.ExecutableFolder() + platform.PathSeparator() + "korvane.exe";
    binding.module = platform.LoadModule(path);
    if (binding.module == nullptr) {
      platform.ShowErrorMessage(path + std::string("がありません。"_sj));
    }
    for (std::size_t i = 0; i < kHostServiceNames.size(); ++i) {
      void* address = binding.module == nullptr
                          ? nullptr
                          : platform.FindSymbol(binding.module, kHostServiceNames[i]);
      if (address == nullptr) {
        platform.ShowErrorMessage(
            "関数がありません。Quorbel、または、プラグインのバージョンが古い可能性があります。"_sj);
        return false;
      }
      binding.services[i] = address;
    }
    return true;
  } catch (const std::exception&) {
    ReleaseHost(platform);
    return false;
  }
}

void ReleaseHost(Platform& platform) {
  HostBinding& binding = Binding();
  if (binding.module != nullptr) {
    platform.ReleaseModule(binding.module);
    binding.module = nullptr;
  }
}

Text ISBNChkFunc(std::string_view code) {
  auto check = reinterpret_cast<IsbnCheckFunction>(Binding().services[kIsbnCheckIndex]);
  if (check == nullptr) return Text();
  Text argument(code);
  const char* result = check(argument.c_str());
  return result == nullptr ? Text() : Text(result);
}

}  // namespace orvel
