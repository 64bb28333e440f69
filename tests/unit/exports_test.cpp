// funcGetInfo: the identity texts and the buffer size rule.
#include "plugin/exports.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "text/shift_jis_literal.h"

namespace {

using orvel::operator""_sj;

struct Texts {
  char buffers[5][300];
};

Texts GetInfo(std::int32_t size) {
  Texts texts;
  for (auto& buffer : texts.buffers) std::fill(std::begin(buffer), std::end(buffer), 'Z');
  funcGetInfo(0, texts.buffers[0], texts.buffers[1], texts.buffers[2], texts.buffers[3],
              texts.buffers[4], size);
  return texts;
}

TEST(FuncGetInfoTest, BufferSizes) {
  setenv("ORVEL_STORE_HOST", "store.test", 1);
  struct Case {
    std::int32_t size;
    std::string name, description, credits, version, kind;
  };
  const Case cases[] = {
      {256, "DownlaodFunc", std::string("ISBN/JAN検索 store.test"_sj),
       std::string("Orvel(pemdu改) based on ZUNARO"_sj), "1.3.0", "3"},
      {6, "Downl", "ISBN/", "Orvel", "1.3.0", "3"},
      {1, "", "", "", "", ""},
      {0, "", "", "", "", ""},
      {65536, "", "", "", "", ""},            // only the low 16 bits count
      {65536 + 6, "Downl", "ISBN/", "Orvel", "1.3.0", "3"},
      {-65536, "", "", "", "", ""},
      // A cut may fall inside a double-byte character: "索" is 8D F5.
      {12, "DownlaodFun", "ISBN/JAN\x8C\x9F\x8D", "Orvel(pemdu", "1.3.0", "3"},
  };
  for (const Case& c : cases) {
    Texts texts = GetInfo(c.size);
    EXPECT_EQ(std::string(texts.buffers[0]), c.name) << c.size;
    EXPECT_EQ(std::string(texts.buffers[1]), c.description) << c.size;
    EXPECT_EQ(std::string(texts.buffers[2]), c.credits) << c.size;
    EXPECT_EQ(std::string(texts.buffers[3]), c.version) << c.size;
    EXPECT_EQ(std::string(texts.buffers[4]), c.kind) << c.size;
  }
  unsetenv("ORVEL_STORE_HOST");
}

TEST(FuncGetInfoTest, NullBuffersAreSkipped) {
  char version[16];
  funcGetInfo(0, nullptr, nullptr, nullptr, version, nullptr, sizeof(version));
  EXPECT_STREQ(version, "1.3.0");
}

}  // namespace
