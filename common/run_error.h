// An unexpected error during a run: a file that exists but cannot be read, an
// output that cannot be written. The run ends, saving the lines it collected,
// and shows the text, which names what failed.
#ifndef ORVEL_COMMON_RUN_ERROR_H_
#define ORVEL_COMMON_RUN_ERROR_H_

#include <stdexcept>
#include <string>

#include "text/text.h"

namespace orvel {

class RunError : public std::runtime_error {
 public:
  explicit RunError(const Text& what) : std::runtime_error(what) {}
};

// "PATH を読み込めません" as a RunError.
[[noreturn]] inline void ThrowUnreadable(const std::string& path) {
  throw RunError(path + std::string(" を読み込めません"_sj));
}

// "PATH に書き込めません" as a RunError.
[[noreturn]] inline void ThrowUnwritable(const std::string& path) {
  throw RunError(path + std::string(" に書き込めません"_sj));
}

}  // namespace orvel

#endif  // ORVEL_COMMON_RUN_ERROR_H_
