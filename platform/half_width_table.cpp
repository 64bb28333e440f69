#include "platform/half_width_table.h"

namespace orvel {

std::string MapToHalfWidthByTable(std::string_view text) { return std::string(text); }

}  // namespace orvel
