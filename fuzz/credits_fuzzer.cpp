// ClassifyCredits and StoreContributors on an arbitrary credit line and an
// arbitrary "AuthDB.dat", called as the description section calls them (or
// with fuzzed marks and separators). The count answered is the number of
// entries appended; no entry is empty or a bare "others"; a line with n
// separators gives at most n + 1 entries; the contributor slots fill in
// order; on well-formed Shift-JIS no entry and no contributor field ends
// inside a double-byte character.
//
// Input sections: the credit text, AuthDB.dat (missing when the input has
// one section only), mark, separator, sub-separator.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/book_record.h"
#include "dataset/author_dictionary.h"
#include "dataset/contributor_list.h"
#include "dataset/credits.h"
#include "fuzz/fuzz_support.h"
#include "platform/platform_fake.h"
#include "text/text.h"

namespace {

using orvel::fuzz::Require;

constexpr std::string_view kWorkFolder = "/work/";
constexpr std::string_view kCreditSeparator = "\x81\x5E";  // ／
constexpr std::string_view kYenSign = "\x81\x8F";          // ￥
constexpr std::string_view kOthers = "\x91\xBC";           // 他
constexpr std::string_view kOthersInKana = "\x82\xD9\x82\xA9";  // ほか
constexpr int kContributorFields[] = {6, 7, 8, 9, 10, 64};

bool IsContributorField(int field) {
  for (int contributor_field : kContributorFields) {
    if (field == contributor_field) return true;
  }
  return false;
}

// The author dictionary as the look-up searches it.
orvel::Text DictionaryText(std::string_view file) {
  return orvel::JoinLines(orvel::SplitLines(file));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static orvel::FakePlatform* const platform = new orvel::FakePlatform();
  std::size_t present = 0;
  const auto sections = orvel::fuzz::SplitSections(data, size, 5, &present);
  const std::string_view text = sections[0];
  // Without marks and separators of its own, the input is called as the
  // description section calls it.
  const bool parser_call = sections[2].empty() && sections[3].empty() && sections[4].empty();
  const std::string_view mark = parser_call ? kCreditSeparator : sections[2];
  const std::string_view separator = parser_call ? kCreditSeparator : sections[3];
  const std::string_view sub_separator = sections[4];

  // One section only: no dictionary file at all.
  const bool has_dictionary = present >= 2;
  const std::string dictionary_path = std::string(kWorkFolder) + "AuthDB.dat";
  platform->files.clear();
  if (has_dictionary) platform->files[dictionary_path] = std::string(sections[1]);

  orvel::ClearBase();
  Require(orvel::LoadAuthDB(*platform, std::string(kWorkFolder)) == has_dictionary,
          "LoadAuthDB answers whether the file exists");
  orvel::ContributorListScope scope;
  const int count = orvel::ClassifyCredits(text, mark, separator, sub_separator);
  const orvel::TextList& entries = orvel::ContributorList();

  Require(count == static_cast<int>(entries.size()),
          "the count is the number of entries appended", text);
  for (const orvel::Text& entry : entries) {
    Require(!entry.empty() && entry != kOthers && entry != kOthersInKana,
            "no entry is empty or a bare \"others\"", text);
  }
  const bool well_formed = orvel::fuzz::IsWellFormedShiftJis(text);
  if (parser_call && well_formed) {
    const std::size_t separators =
        orvel::fuzz::CountCharacter(orvel::ReplaceAll(text, kYenSign, "\\"), kCreditSeparator);
    Require(entries.size() <= separators + 1,
            "a line with n separators gives at most n + 1 entries", text);
  }
  bool entries_well_formed = true;
  for (const orvel::Text& entry : entries) {
    if (well_formed && parser_call) {
      Require(!orvel::fuzz::EndsInsideCharacter(entry),
              "no entry ends inside a double-byte character", text);
      Require(orvel::fuzz::CountCharacter(entry, kYenSign) == 0,
              "no entry keeps the credit boundary", text);
    }
    // The bracket part is split off by byte search; a bracket that is only
    // the second byte of a character and the byte after it is not one.
    if (!orvel::fuzz::IsWellFormedShiftJis(entry) ||
        orvel::fuzz::OccursOffBoundary(entry, "\x81\x6D") ||
        orvel::fuzz::OccursOffBoundary(entry, "\x81\x6E")) {
      entries_well_formed = false;
    }
  }

  orvel::StoreContributors(*platform, true, true, true, "");
  Require(!orvel::BaseField(6).empty() ||
              (orvel::BaseField(8).empty() && orvel::BaseField(10).empty()),
          "the second and further slots fill only after the first", text);
  Require(!orvel::BaseField(8).empty() || orvel::BaseField(10).empty(),
          "further names come only after the second", text);
  for (int field = 1; field <= orvel::TBase::kFieldCount; ++field) {
    if (!IsContributorField(field)) {
      Require(orvel::BaseField(field).empty(), "only the contributor fields are written",
              text);
    }
  }
  const orvel::Text dictionary = DictionaryText(sections[1]);
  // An entry runs to the first "|" CR LF, found by byte search as well.
  const bool dictionary_well_formed = orvel::fuzz::IsWellFormedShiftJis(dictionary) &&
                                      !orvel::fuzz::OccursOffBoundary(dictionary, "|\r\n");
  if (entries_well_formed && dictionary_well_formed) {
    for (int field : kContributorFields) {
      Require(!orvel::fuzz::EndsInsideCharacter(orvel::BaseField(field)),
              "no contributor field ends inside a double-byte character", text);
    }
  }
  orvel::FreeAuthDB();
  return 0;
}
