#include "dataset/author_dictionary.h"

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <utility>

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

// True when every line of `contents` already ends with CR LF and no zero
// byte cuts it short: the contents are then the dictionary text as they are.
bool IsDictionaryText(std::string_view contents) {
  if (!contents.empty() && !contents.ends_with(kLineBreak)) return false;
  for (std::size_t i = 0; i < contents.size(); ++i) {
    const char byte = contents[i];
    if (byte == '\0') return false;
    if (byte == '\r') {
      if (i + 1 >= contents.size() || contents[i + 1] != '\n') return false;
      ++i;
    } else if (byte == '\n') {
      return false;
    }
  }
  return true;
}

// The file's lines, each followed by CR LF: the bytes that splitting the
// contents into lines and joining them again gives. A dictionary of some
// megabytes is read again for every code, so this takes one pass, and none
// when the file is written that way already.
Text DictionaryText(std::string contents) {
  if (IsDictionaryText(contents)) return contents;
  std::string_view rest = contents;
  const std::size_t zero = rest.find('\0');
  if (zero != kNotFound) rest = rest.substr(0, zero);
  Text text;
  text.reserve(rest.size() + 2);
  while (!rest.empty()) {
    const std::size_t line_end = rest.find_first_of("\r\n");
    if (line_end == kNotFound) {
      text.append(rest);
      text.append(kLineBreak);
      break;
    }
    text.append(rest.substr(0, line_end));
    text.append(kLineBreak);
    const bool crlf = rest[line_end] == '\r' && line_end + 1 < rest.size() &&
                      rest[line_end + 1] == '\n';
    rest.remove_prefix(line_end + (crlf ? 2 : 1));
  }
  return text;
}

// Byte search for the first occurrence of `key`, skipping ahead by the key's
// length where it can: the dictionary text is long and full of "|".
std::size_t FindKey(std::string_view dictionary, std::string_view key) {
  const auto found = std::search(
      dictionary.begin(), dictionary.end(),
      std::boyer_moore_horspool_searcher(key.begin(), key.end()));
  return found == dictionary.end() ? kNotFound
                                   : static_cast<std::size_t>(found - dictionary.begin());
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
  const std::size_t found = FindKey(dictionary, enclosed_key);
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
  // The previous dictionary's buffer takes the new file: the same file is
  // read again for every code.
  std::unique_ptr<Text>& dictionary = HeldDictionary();
  if (dictionary == nullptr) dictionary = std::make_unique<Text>();
  std::string contents = std::move(*dictionary);
  contents.clear();
  dictionary->clear();
  const std::string path = work_folder + "AuthDB.dat";
  if (!platform.FileExists(path)) return false;
  if (!platform.ReadWholeFile(path, &contents)) ThrowUnreadable(path);
  *dictionary = DictionaryText(std::move(contents));
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
