// The private step, switched on by the marker file.
#include "dataset/private_step.h"

#include <gtest/gtest.h>

#include "common/book_record.h"
#include "platform/platform_fake.h"

namespace orvel {
namespace {

constexpr const char* kMarker = "/work/Temp.html.orvel_private";

struct SizeCase {
  std::string_view size;
  std::string_view result;
};

TEST(ApplyPrivateStepTest, WithTheMarkerFile) {
  const SizeCase cases[] = {
      {"文庫"_sj, "A6"},
      {"コミック"_sj, ""},
      {"B6", "B6"},
      {"コミック文庫"_sj, "A6"},
      {"文庫判"_sj, "A6判"_sj},
  };
  for (const SizeCase& c : cases) {
    FakePlatform platform;
    platform.files[kMarker] = "";
    ClearBase();
    BaseField(16) = c.size;
    BaseField(17) = "https://books.example/item/x";
    BaseField(18) = "eighteen";
    ApplyPrivateStep(platform, kMarker, "", "content");
    EXPECT_EQ(BaseField(16), c.result) << c.size;
    EXPECT_EQ(BaseField(17), "");
    EXPECT_EQ(BaseField(18), "");
    EXPECT_EQ(BaseField(19), "content");
  }
}

TEST(ApplyPrivateStepTest, WithoutTheMarkerFileNothingChanges) {
  FakePlatform platform;
  ClearBase();
  BaseField(16) = "文庫"_sj;
  BaseField(17) = "https://books.example/item/x";
  BaseField(18) = "eighteen";
  ApplyPrivateStep(platform, kMarker, "", "content");
  EXPECT_EQ(BaseField(16), "文庫"_sj);
  EXPECT_EQ(BaseField(17), "https://books.example/item/x");
  EXPECT_EQ(BaseField(18), "eighteen");
  EXPECT_EQ(BaseField(19), "");
}

}  // namespace
}  // namespace orvel
