// Texts and text lists: Shift-JIS byte strings, with the two kinds of search
// (byte search and character search), replacing and trimming that every
// module shares.
#ifndef ORVEL_TEXT_TEXT_H_
#define ORVEL_TEXT_TEXT_H_

#include <string>
#include <string_view>
#include <vector>

#include "text/shift_jis_literal.h"

namespace orvel {

using Text = std::string;
using TextList = std::vector<Text>;

inline constexpr std::size_t kNotFound = std::string_view::npos;

// A byte 0x81-0x9F or 0xE0-0xFC starts a double-byte character.
inline bool IsLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// Byte search: the first occurrence at or after `from`, wherever it starts,
// also on the second byte of a double-byte character. 0-based; kNotFound.
inline std::size_t FindBytes(std::string_view text, std::string_view pattern,
                             std::size_t from = 0) {
  return text.find(pattern, from);
}

inline bool Contains(std::string_view text, std::string_view pattern) {
  return text.find(pattern) != kNotFound;
}

// Character search: the first occurrence at or after `from` (a character
// boundary) that starts on a character boundary. An empty pattern is never
// found.
std::size_t FindCharacter(std::string_view text, std::string_view pattern,
                          std::size_t from = 0);

// Every occurrence of `pattern`, found by character search left to right, is
// replaced; the search goes on after each replacement, which is never searched
// again.
Text ReplaceAll(std::string_view text, std::string_view pattern,
                std::string_view replacement);

inline Text RemoveAll(std::string_view text, std::string_view pattern) {
  return ReplaceAll(text, pattern, {});
}

// Removes every leading and trailing byte of value 0x20 or below.
Text Trim(std::string_view text);

// Splits at CR LF, a lone CR and a lone LF; a final line break adds no entry;
// a zero byte ends the text.
TextList SplitLines(std::string_view text);

// Puts CR LF after every entry, the last one included.
Text JoinLines(const TextList& lines);

// The length of `text` cut to at most `limit` bytes without splitting a
// double-byte character.
std::size_t CharacterBoundaryAtOrBefore(std::string_view text, std::size_t limit);

}  // namespace orvel

#endif  // ORVEL_TEXT_TEXT_H_
