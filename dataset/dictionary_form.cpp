#include "dataset/dictionary_form.h"

#include "platform/platform.h"
#include "text/text_helpers.h"

namespace orvel {

Text DictionaryForm(Platform& platform, std::string_view name) {
  // Marks and the katakana "ニ" go before the half-width mapping, so that
  // neither survives as a half-width form.
  Text form = RemoveAll(name, "・"_sj);
  form = RemoveAll(form, "☆"_sj);
  form = RemoveAll(form, "★"_sj);
  form = RemoveAll(form, "♪"_sj);
  form = ReplaceAll(form, "ニ"_sj, "二"_sj);
  form = ToHalfWidth(platform, form);
  form = RemoveAll(form, " ");
  form = ReplaceAll(form, "ｰ"_sj, "-");
  return Trim(form);
}

}  // namespace orvel
