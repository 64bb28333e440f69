// The one book record: 66 Shift-JIS text fields, numbered 1 to 66, that the
// batch run, the page parser and the dictionaries fill for the current code.
#ifndef ORVEL_COMMON_BOOK_RECORD_H_
#define ORVEL_COMMON_BOOK_RECORD_H_

#include <array>
#include <cstdint>

#include "text/text.h"

namespace orvel {

struct TBase {
  static constexpr int kFieldCount = 66;

  std::int32_t reserved = 0;  // a leading slot the host's layout has; unused
  std::array<Text, kFieldCount> fields;

  // Field `number`, 1 to 66.
  Text& Field(int number) { return fields.at(number - 1); }
  const Text& Field(int number) const { return fields.at(number - 1); }
};

// The record of the current code, module-level for the library's lifetime.
TBase& Base();

// Shorthand for Base().Field(number).
inline Text& BaseField(int number) { return Base().Field(number); }

// Empties fields 1 to 66.
void ClearBase();

}  // namespace orvel

#endif  // ORVEL_COMMON_BOOK_RECORD_H_
