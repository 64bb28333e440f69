// The progress window where there is no window system: a plain object whose
// stop button is clicked by a stop request (SIGINT or SIGTERM).
#include "Wait/wait_window.h"

namespace orvel {

struct TfrmWait::Window {};

TfrmWait::TfrmWait() = default;

TfrmWait::~TfrmWait() = default;

bool TfrmWait::visible() const { return visible_; }

void TfrmWait::Close() { FormClose(); }

void TfrmWait::Hide() { visible_ = false; }

}  // namespace orvel
