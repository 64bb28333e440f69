// BaseToLine on arbitrary field contents. The line is well-formed CSV of
// exactly 68 items, read byte by byte and read as Shift-JIS alike: 67
// separating commas outside quotes, no item with a comma or a double quote
// outside its quotes; columns 20 and 41 are empty; no item holds a line break
// pair.
//
// Input sections: fields 1 to 66, in order; missing ones are empty.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/book_record.h"
#include "common/output_line.h"
#include "fuzz/fuzz_support.h"
#include "platform/platform_fake.h"

namespace {

using orvel::fuzz::Require;

void CheckItems(std::string_view line, bool by_character) {
  std::vector<std::string> items;
  if (!orvel::fuzz::SplitCsvLine(line, by_character, &items)) {
    orvel::fuzz::Broken(by_character ? "the line is well-formed CSV (read as Shift-JIS)"
                                     : "the line is well-formed CSV (read byte by byte)",
                        line);
  }
  if (items.size() != orvel::kOutputColumnCount) {
    orvel::fuzz::Broken(by_character ? "the line has 68 items (read as Shift-JIS)"
                                     : "the line has 68 items (read byte by byte)",
                        line);
  }
  Require(items[19].empty() && items[40].empty(), "columns 20 and 41 are empty", line);
  for (const std::string& item : items) {
    Require(item.find("\r\n") == std::string::npos, "no item holds CR LF", line);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static orvel::FakePlatform* const platform = new orvel::FakePlatform();
  const auto fields = orvel::fuzz::SplitSections(data, size, orvel::TBase::kFieldCount);
  orvel::ClearBase();
  for (int field = 1; field <= orvel::TBase::kFieldCount; ++field) {
    orvel::BaseField(field) = fields[field - 1];
  }
  const orvel::Text line = orvel::BaseToLine(*platform);
  CheckItems(line, false);
  CheckItems(line, true);
  return 0;
}
