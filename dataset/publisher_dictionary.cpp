#include "dataset/publisher_dictionary.h"

#include <optional>

#include "common/book_record.h"
#include "dataset/dictionary_file.h"
#include "platform/platform.h"

namespace orvel {

namespace {

constexpr std::size_t kShortestPublisherCode = 2;
constexpr std::size_t kLongestPublisherCode = 6;

// Where the publisher code starts in the code of field 1, for ISBNs of the
// Japanese group only: after "9784" in an ISBN-13, after the group digit "4"
// in an ISBN-10 (also inside an 18-character combined code). A JAN code of
// another article (49..., 13 characters) or an ISBN of another group has no
// publisher code, though its digits may match one.
std::optional<std::size_t> PublisherCodeStart(const Text& code) {
  if (code.starts_with("9784")) return 4;
  if (code.starts_with("4") && code.size() != 13 && code.size() != 26) return 1;
  return std::nullopt;
}

}  // namespace

void LookUpPublisher(Platform& platform, const Text& work_folder) {
  const Text dictionary_text =
      JoinLines(LoadDictionaryLines(platform, work_folder + "PubDB.dat"));
  const Text code = BaseField(1);
  std::optional<std::size_t> start = PublisherCodeStart(code);
  if (!start) return;
  for (std::size_t length = kShortestPublisherCode; length <= kLongestPublisherCode;
       ++length) {
    const Text key = "|" + code.substr(*start, length) + "|";
    if (std::optional<Text> name = DictionaryValue(dictionary_text, key)) {
      BaseField(13) = *name;
      return;
    }
  }
}

}  // namespace orvel
