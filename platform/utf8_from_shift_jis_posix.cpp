#include <iconv.h>

#include <cerrno>

#include "platform/utf8_from_shift_jis.h"

namespace orvel {

std::string Utf8FromShiftJis(std::string_view text) {
  iconv_t converter = iconv_open("UTF-8", "CP932");
  if (converter == reinterpret_cast<iconv_t>(-1)) return std::string(text);
  std::string result;
  std::string input(text);
  char* in = input.data();
  std::size_t in_left = input.size();
  char buffer[1024];
  while (in_left > 0) {
    char* out = buffer;
    std::size_t out_left = sizeof(buffer);
    std::size_t converted = iconv(converter, &in, &in_left, &out, &out_left);
    result.append(buffer, out - buffer);
    if (converted == static_cast<std::size_t>(-1) && errno != E2BIG) {
      result.push_back('?');
      ++in;
      --in_left;
    }
  }
  iconv_close(converter);
  return result;
}

}  // namespace orvel
