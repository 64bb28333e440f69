// The parts of the progress window that every platform shares: the stop
// flag, the latest run's window and the per-code step.
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
  Close();
}

void TfrmWait::FormClose() {
  if (window_platform != nullptr) window_platform->DeliverPendingMessages();
  Hide();
}

bool StopRequested() { return stop_flag; }

void ClearStopRequest() { stop_flag = false; }

TfrmWait& CreateWaitWindow(Platform& platform) {
  window_platform = &platform;
  CurrentWindow().reset();
  CurrentWindow() = std::make_unique<TfrmWait>();
  return *CurrentWindow();
}

void DestroyWaitWindow() { CurrentWindow().reset(); }

void PerCodeStep(Platform& platform, int /*index*/, int /*count*/) {
  if (platform.DeliverPendingMessages() && CurrentWindow() != nullptr) {
    CurrentWindow()->BtnStopClick();
  }
}

}  // namespace orvel
