// The progress window, created hidden for every run, and the stop flag that
// its stop button sets. The per-code step delivers pending window messages.
#ifndef ORVEL_WAIT_WAIT_WINDOW_H_
#define ORVEL_WAIT_WAIT_WINDOW_H_

namespace orvel {

class Platform;

// The progress window. It is never shown; its stop button is what counts.
class TfrmWait {
 public:
  TfrmWait() = default;
  TfrmWait(const TfrmWait&) = delete;
  TfrmWait& operator=(const TfrmWait&) = delete;
  ~TfrmWait() = default;

  bool visible() const { return visible_; }

  // The stop button: sets the stop flag, then closes the window.
  void BtnStopClick();
  // Closing only hides the window.
  void FormClose();

 private:
  bool visible_ = false;
};

// The stop flag: false when the library is loaded.
bool StopRequested();
// Clears the stop flag; called when a run starts, so that a stop ends only
// the run in which it was requested.
void ClearStopRequest();

// Makes a new hidden window for a run; it replaces the previous run's.
TfrmWait& CreateWaitWindow(Platform& platform);

// Called before each code (1-based `index` of `count`): delivers the pending
// window messages; a stop request among them clicks the stop button.
void PerCodeStep(Platform& platform, int index, int count);

}  // namespace orvel

#endif  // ORVEL_WAIT_WAIT_WINDOW_H_
