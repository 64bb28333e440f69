#include "dataset/author_dictionary.h"

#include <memory>

#include "common/book_record.h"
#include "common/run_error.h"
#include "dataset/contributor_list.h"
#include "dataset/dictionary_form.h"
#include "platform/platform.h"
#include "text/text_helpers.h"

namespace orvel {

namespace {

constexpr std::string_view kLineBreak = "\r\n";

// The author dictionary as the look-up searches it: its lines joined, each
// followed by CR LF. Empty when the file had no lines; null when none is held.
std::unique_ptr<Text>& HeldDictionary() {
  static auto* const dictionary = new std::unique_ptr<Text>();
  return *dictionary;
}

struct Contributor {
  Text name;
  Text bracket_text;
  Text second_text;
  Text third_text;
};

// Splits a full-width bracket part off the entry: "name［text］ [role]" gives
// the name and "text".
Contributor SplitBracketPart(const Text& entry) {
  Contributor contributor;
  contributor.name = entry;
  const std::size_t open = FindBytes(entry, "［"_sj);
  if (open != kNotFound) {
    contributor.bracket_text = TextBetween(entry, "［"_sj, "］"_sj);
    contributor.name = entry.substr(0, open);
  }
  return contributor;
}

// Replaces the name and fills the second and third texts from the cells
// that follow the name's key, wherever in the dictionary that key stands.
void LookUp(Platform& platform, const Text& dictionary, Contributor* contributor) {
  const Text enclosed_key = "|" + DictionaryForm(platform, contributor->name) + "|";
  const std::size_t found = FindBytes(dictionary, enclosed_key);
  if (found == kNotFound) return;
  const Text entry_text =
      TextBetween(std::string_view(dictionary).substr(found), enclosed_key, "|\r\n");
  contributor->name = SeparatedItem(entry_text, '|', 1);
  contributor->second_text = SeparatedItem(entry_text, '|', 2);
  contributor->third_text = SeparatedItem(entry_text, '|', 3);
}

// A name already stored counts as present when the new name is any part of
// it; an empty name never does.
bool IsAlreadyStored(const Text& name) {
  if (name.empty()) return false;
  const Text existing_names = BaseField(6) + Text(kLineBreak) + BaseField(8) +
                              Text(kLineBreak) + BaseField(10);
  return Contains(existing_names, name);
}

const Text& SecondOrBracketText(const Contributor& contributor) {
  return contributor.second_text.empty() ? contributor.bracket_text
                                         : contributor.second_text;
}

}  // namespace

bool LoadAuthDB(Platform& platform, const Text& work_folder) {
  HeldDictionary() = std::make_unique<Text>();
  const std::string path = work_folder + "AuthDB.dat";
  if (!platform.FileExists(path)) return false;
  std::string contents;
  if (!platform.ReadWholeFile(path, &contents)) ThrowUnreadable(path);
  *HeldDictionary() = JoinLines(SplitLines(contents));
  return true;
}

bool FreeAuthDB() {
  HeldDictionary().reset();
  return true;
}

bool StoreContributors(Platform& platform, bool fill_first, bool fill_second,
                       bool append_further, std::string_view prefix) {
  const Text* dictionary = HeldDictionary().get();
  for (const Text& entry : ContributorList()) {
    Contributor contributor = SplitBracketPart(entry);
    if (dictionary != nullptr && !dictionary->empty()) {
      LookUp(platform, *dictionary, &contributor);
    }
    if (IsAlreadyStored(contributor.name)) continue;

    if (fill_first && BaseField(6).empty()) {
      BaseField(6) = contributor.name;
      BaseField(7) = SecondOrBracketText(contributor);
      BaseField(64) = contributor.third_text;
    } else if (fill_second && BaseField(8).empty()) {
      BaseField(8) = contributor.name;
      BaseField(9) = SecondOrBracketText(contributor);
    } else if (append_further) {
      BaseField(10) += Text(kLineBreak) + Text(prefix) + contributor.name;
    }
  }
  BaseField(10) = Trim(BaseField(10));
  return true;
}

}  // namespace orvel
