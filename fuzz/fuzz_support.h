// What the fuzz targets share: cutting one input into sections, stopping the
// fuzzer on a broken property, and the Shift-JIS walks the properties are
// stated in.
#ifndef ORVEL_FUZZ_FUZZ_SUPPORT_H_
#define ORVEL_FUZZ_FUZZ_SUPPORT_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvel::fuzz {

// The sections of one input (a page, then its dictionaries, ...) are
// separated by these eight bytes, so that a seed file reads as its parts.
inline constexpr std::string_view kSectionBreak("\0--8<--\0", 8);

// The first `count` sections of the input; missing ones are empty, and the
// last one runs to the end of the input. `present` (if given) receives how
// many the input holds.
std::vector<std::string_view> SplitSections(const std::uint8_t* data,
                                            std::size_t size, std::size_t count,
                                            std::size_t* present = nullptr);

// Prints the property and the bytes it was found on, then traps, so that
// libFuzzer saves the input as a crash.
[[noreturn]] void Broken(const char* property, std::string_view bytes = {});

inline void Require(bool holds, const char* property, std::string_view bytes = {}) {
  if (!holds) Broken(property, bytes);
}

// The bytes as hex pairs, at most `limit` of them.
std::string Hex(std::string_view bytes, std::size_t limit = 256);

// The library's walk: a lead byte (0x81-0x9F, 0xE0-0xFC) takes the byte after
// it as its second byte, whatever that byte is.
bool IsBoundary(std::string_view text, std::size_t position);

// True when the last character is a lead byte without its second byte.
bool EndsInsideCharacter(std::string_view text);

// Every lead byte is followed by a valid second byte (0x40-0x7E, 0x80-0xFC);
// no byte 0x80, 0xA0 or 0xFD-0xFF stands alone.
bool IsWellFormedShiftJis(std::string_view text);

// True when some double-byte character has one of `bytes` as its second byte.
bool HasSecondByteIn(std::string_view text, std::string_view bytes);

// Occurrences of `character` that start on a character boundary.
std::size_t CountCharacter(std::string_view text, std::string_view character);

// True when `pattern` occurs (byte search) starting on a second byte.
bool OccursOffBoundary(std::string_view text, std::string_view pattern);

// True when every "<" byte begins a "<!--" and every ">" byte ends a "-->".
bool AngleBracketsOnlyInCommentMarkers(std::string_view text);

// True when `part` is a subsequence of `whole`.
bool IsSubsequence(std::string_view part, std::string_view whole);

// Splits an output line into its items, by the comma and double-quote rules
// of a CSV reader. `by_character` walks the line as Shift-JIS (a lead byte
// takes the byte after it); otherwise byte by byte. False when the line is
// not well-formed CSV (a quote inside an unquoted item, text after a closing
// quote, an unclosed quote).
bool SplitCsvLine(std::string_view line, bool by_character,
                  std::vector<std::string>* items);

}  // namespace orvel::fuzz

#endif  // ORVEL_FUZZ_FUZZ_SUPPORT_H_
