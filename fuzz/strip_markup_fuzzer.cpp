// StripMarkup on arbitrary bytes. Without "&" in the input, no "<" or ">"
// survives outside comment markers; a text without markup or comment
// markers comes back unchanged; a stripped text is stripped to itself.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "text/text_helpers.h"

namespace {

using orvel::fuzz::Require;

constexpr std::string_view kFullWidthLessThan = "\x81\x83";
constexpr std::string_view kFullWidthGreaterThan = "\x81\x84";

bool HasAny(std::string_view text, std::string_view bytes) {
  return text.find_first_of(bytes) != std::string_view::npos;
}

// "<", ">", "&" and the full-width brackets that comment markers are
// protected with: without them nothing in the text is markup.
bool HoldsNothingToStrip(std::string_view text) {
  return !HasAny(text, "<>&") && text.find(kFullWidthLessThan) == std::string_view::npos &&
         text.find(kFullWidthGreaterThan) == std::string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const orvel::Text stripped = orvel::StripMarkup(text);

  if (!HasAny(text, "&")) {
    Require(orvel::fuzz::AngleBracketsOnlyInCommentMarkers(stripped),
            "without \"&\", \"<\" and \">\" survive only in comment markers", text);
    if (orvel::fuzz::IsWellFormedShiftJis(text) &&
        text.find(kFullWidthLessThan) == std::string_view::npos &&
        text.find(kFullWidthGreaterThan) == std::string_view::npos) {
      Require(orvel::fuzz::IsSubsequence(stripped, text),
              "stripping only removes bytes from well-formed text", text);
    }
  }
  if (HoldsNothingToStrip(text)) {
    Require(stripped == text, "a text without markup comes back unchanged", text);
  }
  if (HoldsNothingToStrip(stripped)) {
    Require(orvel::StripMarkup(stripped) == stripped, "a stripped text strips to itself",
            text);
  }
  return 0;
}
