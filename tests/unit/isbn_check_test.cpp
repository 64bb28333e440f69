// The stand-in host's code check.
#include "host/isbn_check.h"

#include <gtest/gtest.h>

namespace korvane {
namespace {

TEST(NormaliseCodeTest, Cases) {
  const std::pair<std::string, std::string> cases[] = {
      {"4088725093", "4088725093"},                  // ISBN-10
      {"4-08-872509-3", "4088725093"},               // hyphens removed
      {"4 08 872509 3", "4088725093"},               // spaces removed
      {"4088725094", ""},                            // wrong check digit
      {"080442957x", "080442957X"},                  // trailing x made X
      {"080442957X", "080442957X"},
      {"9784088725093", "9784088725093"},            // ISBN-13
      {"978-4-08-872509-3", "9784088725093"},
      {"9784088725094", ""},
      {"4901234567894", "4901234567894"},            // JAN
      {"96385074", "96385074"},                      // EAN-8
      {"97840887250931920193006007", "9784088725093"},  // 26-character code
      {"97840887250941920193006007", ""},
      {"40887250930193060", ""},                     // 17 characters
      {"", ""},
      {"abcdefghij", ""},
  };
  for (const auto& [code, expected] : cases) EXPECT_EQ(NormaliseCode(code), expected) << code;
}

}  // namespace
}  // namespace korvane
