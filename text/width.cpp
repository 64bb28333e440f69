#include "platform/platform.h"
#include "text/text_helpers.h"

namespace orvel {

Text FullWidthAlnumToAscii(std::string_view text) {
  Text result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    unsigned char byte = static_cast<unsigned char>(text[i]);
    if (byte == 0) break;
    if (!IsLeadByte(byte)) {
      result.push_back(static_cast<char>(byte));
      continue;
    }
    if (i + 1 >= text.size()) {  // a lead byte with no second byte is kept
      result.push_back(static_cast<char>(byte));
      break;
    }
    unsigned char trail = static_cast<unsigned char>(text[i + 1]);
    ++i;
    if (byte == 0x82 && trail >= 0x4F && trail <= 0x79) {
      result.push_back(static_cast<char>(trail - 0x1F));
    } else if (byte == 0x82 && trail >= 0x81 && trail <= 0x9A) {
      result.push_back(static_cast<char>(trail - 0x20));
    } else {
      result.push_back(static_cast<char>(byte));
      result.push_back(static_cast<char>(trail));
    }
  }
  return result;
}

Text ToHalfWidth(Platform& platform, std::string_view text) {
  return platform.MapToHalfWidth(text);
}

}  // namespace orvel
