#include "main/description_section.h"

#include "common/book_record.h"
#include "dataset/author_dictionary.h"
#include "dataset/contributor_list.h"
#include "dataset/credits.h"
#include "main/release_date.h"
#include "main/section_scan.h"
#include "platform/platform.h"
#include "text/text_helpers.h"

namespace orvel {

namespace {

constexpr std::string_view kSectionEnd = "</div>";
constexpr std::string_view kCreditSeparator = "／"_sj;
constexpr std::size_t kSecondContributorFallbackLimit = 20;

// Every list item of the section is read as a release date, also one that
// is not a date (its year is then empty).
void TakeListItem(Text* text) {
  if (!Contains(*text, "<li>") || !Contains(*text, "</li>")) return;
  *text = StripMarkup(*text);
  NormalizeReleaseDate(*text);
}

// The second contributor when the contributor fields left it empty: the
// credits after the first separator, or all of them, cut to 20 bytes on a
// character boundary.
Text SecondContributorFallback(std::string_view text) {
  const std::size_t separator = FindCharacter(text, kCreditSeparator);
  if (separator != kNotFound) text.remove_prefix(separator + kCreditSeparator.size());
  return Text(text.substr(0, CharacterBoundaryAtOrBefore(text, kSecondContributorFallbackLimit)));
}

void TakeContributors(Platform& platform, Text* text) {
  if (!Contains(*text, "item-c-author")) return;
  *text = ReplaceAll(RemoveAll(StripMarkup(*text), ">"), ",", kCreditSeparator);
  ContributorList().clear();
  ClassifyCredits(*text, kCreditSeparator, kCreditSeparator, "");
  StoreContributors(platform, true, true, true, "");
  if (BaseField(8).empty()) BaseField(8) = SecondContributorFallback(*text);
}

void TakePublisher(const Text& text) {
  if (!Contains(text, "bpbls") && !Contains(text, "item-c-maker-magazine")) return;
  const Text publisher = StripMarkup(TextBetween(text, ")\">", "</a>"));
  if (BaseField(13).empty()) BaseField(13) = publisher;
}

}  // namespace

void ScanDescriptionSection(Platform& platform, const TextList& lines,
                            std::size_t current) {
  const std::size_t end = SectionScanEnd(lines, current);
  for (std::size_t k = current; k < end; ++k) {
    if (Contains(lines[k], kSectionEnd)) break;
    // The three steps work on one text: a line whose list item lost its
    // markup no longer holds the class names the later steps look for.
    Text text = RemoveAll(RemoveAll(lines[k], "\t"), "<br>");
    TakeListItem(&text);
    TakeContributors(platform, &text);
    TakePublisher(text);
  }
}

}  // namespace orvel
