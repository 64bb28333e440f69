#include "dataset/label_dictionary.h"

#include <optional>

#include "common/book_record.h"
#include "dataset/dictionary_file.h"
#include "dataset/dictionary_form.h"
#include "platform/platform.h"

namespace orvel {

namespace {

// Loaded for every code, read after that code's page; it stays until the
// next load.
TextList& LabelDictionary() {
  static TextList* const lines = new TextList();
  return *lines;
}

}  // namespace

void LoadLabelDictionary(Platform& platform, const Text& work_folder) {
  LabelDictionary().clear();
  LabelDictionary() = LoadDictionaryLines(platform, work_folder + "LabelsDB.dat");
}

void NormalizeLabel(Platform& platform) {
  if (LabelDictionary().empty()) return;
  // The publisher enters as the record holds it; only the label takes its
  // dictionary form.
  const Text key =
      "|" + BaseField(13) + "|" + DictionaryForm(platform, BaseField(14)) + "|";
  if (std::optional<Text> label = DictionaryValue(JoinLines(LabelDictionary()), key)) {
    BaseField(14) = *label;
  }
}

}  // namespace orvel
