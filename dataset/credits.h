// The contributor credit classifier: splits a credit line into contributors
// and gives each the role suffix of its role word.
#ifndef ORVEL_DATASET_CREDITS_H_
#define ORVEL_DATASET_CREDITS_H_

#include <string_view>

namespace orvel {

// Appends the contributors of `text` to the contributor list; answers how
// many entries it appended.
int ClassifyCredits(std::string_view text, std::string_view mark,
                    std::string_view separator, std::string_view sub_separator);

}  // namespace orvel

#endif  // ORVEL_DATASET_CREDITS_H_
