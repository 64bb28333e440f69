#include "dataset/private_step.h"

#include "common/book_record.h"
#include "platform/platform.h"
#include "text/text.h"

namespace orvel {

void ApplyPrivateStep(Platform& platform, const std::string& marker_path,
                      std::string_view field_18_text, std::string_view field_19_text) {
  if (!platform.FileExists(marker_path)) return;
  BaseField(16) = RemoveAll(ReplaceAll(BaseField(16), "文庫"_sj, "A6"), "コミック"_sj);
  BaseField(18) = Text(field_18_text);
  BaseField(19) = Text(field_19_text);
  BaseField(17).clear();  // the item page address
}

}  // namespace orvel
