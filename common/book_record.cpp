#include "common/book_record.h"

namespace orvel {

TBase& Base() {
  static TBase* const record = new TBase();  // never destroyed: no exit-time order
  return *record;
}

void ClearBase() {
  for (Text& field : Base().fields) field.clear();
}

}  // namespace orvel
