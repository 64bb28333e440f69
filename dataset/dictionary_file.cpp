#include "dataset/dictionary_file.h"

#include "common/run_error.h"
#include "platform/platform.h"
#include "text/text_helpers.h"

namespace orvel {

TextList LoadDictionaryLines(Platform& platform, const std::string& path) {
  if (!platform.FileExists(path)) return TextList();
  std::string contents;
  if (!platform.ReadWholeFile(path, &contents)) ThrowUnreadable(path);
  return SplitLines(contents);
}

std::optional<Text> DictionaryValue(std::string_view dictionary_text,
                                    std::string_view key) {
  if (!Contains(dictionary_text, key)) return std::nullopt;
  return TextBetween(dictionary_text, key, "\r\n");
}

}  // namespace orvel
