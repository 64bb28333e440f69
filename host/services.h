// The sixteen services that the host exports from its own executable for
// its plug-ins. Only ISBNChkFunc does work; the others do nothing.
#ifndef ORVEL_HOST_SERVICES_H_
#define ORVEL_HOST_SERVICES_H_

#include <functional>

namespace korvane {

// Called with the 1-based number of each ISBNChkFunc call (tests use it to
// request a stop at a given code).
void SetCheckObserver(std::function<void(int call)> observer);

}  // namespace korvane

#endif  // ORVEL_HOST_SERVICES_H_
