#include "text/text_helpers.h"

namespace orvel {

Text StripMarkup(std::string_view text) {
  // Comment markers are protected with full-width brackets so that the tag
  // walk below leaves comments in place.
  Text work = ReplaceAll(ReplaceAll(text, "<!--", "＜!--"_sj), "-->", "--＞"_sj);
  // The work text is work[start...]. The first "<" and ">" in it are
  // searched again only once the walk has passed them, so that a long run of
  // one of them costs linear time.
  std::size_t start = 0;
  std::size_t open = work.find('<');
  std::size_t close = work.find('>');
  Text output;
  output.reserve(work.size());
  while (open != kNotFound || close != kNotFound) {
    if (open == kNotFound) {  // a tag cut off at the start
      start = close + 1;
    } else if (close == kNotFound) {  // a tag cut off at the end
      output.append(work, start, open - start);
      start = work.size();
      break;
    } else if (open < close) {
      output.append(work, start, open - start);
      start = close + 1;
    } else {  // the text before a stray ">" goes with it
      start = close + 1;
    }
    if (open != kNotFound && open < start) open = work.find('<', start);
    if (close != kNotFound && close < start) close = work.find('>', start);
  }
  output.append(work, start);
  output = ReplaceAll(output, "＜!--"_sj, "<!--");
  output = ReplaceAll(output, "--＞"_sj, "-->");
  output = ReplaceAll(output, "&lt;", "<");
  output = ReplaceAll(output, "&gt;", ">");
  return ReplaceAll(output, "&nbsp;", " ");
}

}  // namespace orvel
