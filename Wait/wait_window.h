// The progress window, created hidden for every run, and the stop flag that
// its stop button sets. The per-code step delivers pending window messages.
#ifndef ORVEL_WAIT_WAIT_WINDOW_H_
#define ORVEL_WAIT_WAIT_WINDOW_H_

#include <memory>

namespace orvel {

class Platform;

// The progress window. It is never shown; its stop button is what counts.
// On Windows it is a real window (wait_window_windows.cpp); elsewhere a plain
// object (wait_window_posix.cpp).
class TfrmWait {
 public:
  TfrmWait();  // hidden
  TfrmWait(const TfrmWait&) = delete;
  TfrmWait& operator=(const TfrmWait&) = delete;
  ~TfrmWait();

  bool visible() const;

  // The stop button: sets the stop flag, then closes the window.
  void BtnStopClick();
  // Closing only hides the window, after delivering pending messages.
  void FormClose();

 private:
  struct Window;  // the window system's window, where there is one

  void Close();  // ends in FormClose
  void Hide();

  std::unique_ptr<Window> window_;
  bool visible_ = false;
};

// The stop flag: false when the library is loaded.
bool StopRequested();
// Clears the stop flag; called when a run starts, so that a stop ends only
// the run in which it was requested.
void ClearStopRequest();

// Makes a new hidden window for a run; it replaces the previous run's.
TfrmWait& CreateWaitWindow(Platform& platform);

// Destroys the latest run's window: its window procedure must not outlive
// the library.
void DestroyWaitWindow();

// Called before each code (1-based `index` of `count`): delivers the pending
// window messages; a stop request among them clicks the stop button.
void PerCodeStep(Platform& platform, int index, int count);

}  // namespace orvel

#endif  // ORVEL_WAIT_WAIT_WINDOW_H_
