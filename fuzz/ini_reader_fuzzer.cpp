// ReadIniValue on an arbitrary file, section, key and default. The value is
// at most 2,047 bytes; it is the default when the key or the section appears
// nowhere in the file; a key put first in a section put first is found.
//
// Input sections: the file, the section name, the key, the default.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "platform/ini_reader.h"

namespace {

using orvel::fuzz::Require;

std::string Folded(std::string_view text) {
  std::string folded(text);
  for (char& byte : folded) {
    if (byte >= 'a' && byte <= 'z') byte = static_cast<char>(byte - 'a' + 'A');
  }
  return folded;
}

// Bytes up to the space: whatever the reader counts as blank is among them.
bool IsBlankOrControl(char byte) { return static_cast<unsigned char>(byte) <= 0x20; }

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlankOrControl(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlankOrControl(text.back())) text.remove_suffix(1);
  return text;
}

// A name that can stand in a header or before "=": ASCII letters, digits and
// "_" of the fuzzed bytes, or `fallback` when none are left.
std::string NameFrom(std::string_view bytes, const char* fallback) {
  std::string name;
  for (char byte : bytes) {
    if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
        (byte >= '0' && byte <= '9') || byte == '_') {
      name.push_back(byte);
    }
  }
  return name.empty() ? fallback : name;
}

// A value that one line holds as it is: no line break, no zero byte, no
// blank, control byte or quote at either end.
std::string PlainValueFrom(std::string_view bytes) {
  std::string value;
  for (char byte : bytes) {
    if (byte != '\r' && byte != '\n' && byte != '\0') value.push_back(byte);
  }
  while (!value.empty() && (IsBlankOrControl(value.front()) || value.front() == '"' ||
                            value.front() == '\'')) {
    value.erase(0, 1);
  }
  while (!value.empty() && (IsBlankOrControl(value.back()) || value.back() == '"' ||
                            value.back() == '\'')) {
    value.pop_back();
  }
  return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto sections = orvel::fuzz::SplitSections(data, size, 4);
  const std::string_view contents = sections[0];
  const std::string_view section = sections[1].empty() ? "Entry" : sections[1];
  const std::string_view key = sections[2].empty() ? "PurachaseSet" : sections[2];
  const std::string default_value(sections[3]);

  const std::string value = orvel::ReadIniValue(contents, section, key, default_value);
  Require(value.size() <= orvel::kIniValueLimit, "a value is at most 2,047 bytes", value);
  Require(orvel::CutToIniValueLimit(default_value).size() <= orvel::kIniValueLimit,
          "a default is cut to 2,047 bytes", default_value);

  // A file with a byte-order mark is read as UTF-8 or UTF-16: its names are
  // not its bytes.
  const bool has_byte_order_mark = contents.starts_with("\xEF\xBB\xBF") ||
                                   contents.starts_with("\xFF\xFE") ||
                                   contents.starts_with("\xFE\xFF");
  const std::string folded_contents = Folded(contents);
  if (!has_byte_order_mark &&
      (folded_contents.find(Folded(Trimmed(key))) == std::string::npos ||
       folded_contents.find(Folded(Trimmed(section))) == std::string::npos)) {
    Require(value == orvel::IniDefaultValue(default_value),
            "the default is the value when the key or section is absent", contents);
  }
  if (orvel::fuzz::IsWellFormedShiftJis(contents) &&
      orvel::fuzz::IsWellFormedShiftJis(default_value)) {
    Require(!orvel::fuzz::EndsInsideCharacter(value),
            "a value of well-formed text never ends inside a double-byte character",
            contents);
  }

  // The same file with a section of its own in front.
  const std::string own_section = NameFrom(section, "Entry");
  const std::string own_key = NameFrom(key, "PurachaseSet");
  const std::string own_value = PlainValueFrom(default_value);
  const std::string file =
      "[" + own_section + "]\r\n" + own_key + "=" + own_value + "\r\n" + std::string(contents);
  Require(orvel::ReadIniValue(file, own_section, own_key, "") ==
              orvel::CutToIniValueLimit(own_value),
          "the first key of the first section is found", file);
  Require(orvel::ReadIniValue(file, Folded(own_section), Folded(own_key), "") ==
              orvel::CutToIniValueLimit(own_value),
          "names match whatever the case of their letters", file);
  return 0;
}
