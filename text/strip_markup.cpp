#include "text/text_helpers.h"

namespace orvel {

Text StripMarkup(std::string_view text) {
  // Comment markers are protected with full-width brackets so that the tag
  // walk below leaves comments in place.
  Text work = ReplaceAll(ReplaceAll(text, "<!--", "＜!--"_sj), "-->", "--＞"_sj);
  std::string_view rest = work;
  Text output;
  output.reserve(work.size());
  while (true) {
    std::size_t open = rest.find('<');
    std::size_t close = rest.find('>');
    if (open == kNotFound && close == kNotFound) break;
    if (open == kNotFound) {  // a tag cut off at the start
      rest.remove_prefix(close + 1);
    } else if (close == kNotFound) {  // a tag cut off at the end
      output.append(rest.substr(0, open));
      rest = {};
    } else if (open < close) {
      output.append(rest.substr(0, open));
      rest.remove_prefix(close + 1);
    } else {  // the text before a stray ">" goes with it
      rest.remove_prefix(close + 1);
    }
  }
  output.append(rest);
  output = ReplaceAll(output, "＜!--"_sj, "<!--");
  output = ReplaceAll(output, "--＞"_sj, "-->");
  output = ReplaceAll(output, "&lt;", "<");
  output = ReplaceAll(output, "&gt;", ">");
  return ReplaceAll(output, "&nbsp;", " ");
}

}  // namespace orvel
