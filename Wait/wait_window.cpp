#include "Wait/wait_window.h"

#include <memory>

#include "platform/platform.h"

namespace orvel {

namespace {

bool stop_flag = false;
Platform* window_platform = nullptr;

std::unique_ptr<TfrmWait>& CurrentWindow() {
  static auto* const window = new std::unique_ptr<TfrmWait>();
  return *window;
}

}  // namespace

void TfrmWait::BtnStopClick() {
  stop_flag = true;
  FormClose();
}

void TfrmWait::FormClose() {
  if (window_platform != nullptr) window_platform->DeliverPendingMessages();
  visible_ = false;
}

bool StopRequested() { return stop_flag; }

void ClearStopRequest() { stop_flag = false; }

TfrmWait& CreateWaitWindow(Platform& platform) {
  window_platform = &platform;
  CurrentWindow() = std::make_unique<TfrmWait>();
  return *CurrentWindow();
}

void PerCodeStep(Platform& platform, int /*index*/, int /*count*/) {
  if (platform.DeliverPendingMessages() && CurrentWindow() != nullptr) {
    CurrentWindow()->BtnStopClick();
  }
}

}  // namespace orvel
