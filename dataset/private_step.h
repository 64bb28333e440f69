// The private step: record adjustments for the user's own catalogue, switched
// on by a marker file next to the scratch page.
#ifndef ORVEL_DATASET_PRIVATE_STEP_H_
#define ORVEL_DATASET_PRIVATE_STEP_H_

#include <string>
#include <string_view>

namespace orvel {

class Platform;

// Only when a file exists at `marker_path` (its content is never read): in
// field 16 "文庫" becomes "A6" and "コミック" goes; field 17 is emptied;
// fields 18 and 19 take the two texts.
void ApplyPrivateStep(Platform& platform, const std::string& marker_path,
                      std::string_view field_18_text, std::string_view field_19_text);

}  // namespace orvel

#endif  // ORVEL_DATASET_PRIVATE_STEP_H_
