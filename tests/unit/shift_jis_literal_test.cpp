// The "_sj" literals are the exact code page 932 bytes of the messages.
#include "text/shift_jis_literal.h"

#include <gtest/gtest.h>

#include <string>

namespace orvel {
namespace {

struct LiteralCase {
  std::string_view literal;
  std::string bytes;
};

TEST(ShiftJisLiteralTest, MessagesHaveTheirShiftJisBytes) {
  const LiteralCase cases[] = {
      {"ダウンロード失敗"_sj, "\x83\x5F\x83\x45\x83\x93\x83\x8D\x81\x5B\x83\x68\x8E\xB8\x94\x73"},
      {"がありません。"_sj, "\x82\xAA\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81\x42"},
      {"【入荷予約】 "_sj, "\x81\x79\x93\xFC\x89\xD7\x97\x5C\x96\xF1\x81\x7A\x20"},  // 97 5C
      {"”，＜＞"_sj, "\x81\x68\x81\x43\x81\x83\x81\x84"},
      {"ｱｰ"_sj, "\xB1\xB0"},
      {"ソ表"_sj, "\x83\x5C\x95\x5C"},
      {"a\"b"_sj, "a\"b"},
  };
  for (const LiteralCase& c : cases) EXPECT_EQ(std::string(c.literal), c.bytes);
}

}  // namespace
}  // namespace orvel
