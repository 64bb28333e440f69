#include "dataset/dictionary_form.h"

#include "platform/platform.h"

namespace orvel {

// Not yet the key form: the name as it stands.
Text DictionaryForm(Platform& /*platform*/, std::string_view name) { return Text(name); }

}  // namespace orvel
