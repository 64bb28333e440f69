// half_width_comparison.exe: compares the plug-in's half-width mapping with
// the system's LCMapStringA(LCMAP_HALFWIDTH) under the user's default locale,
// for every single byte, every two-byte pair with a lead byte, and a few
// longer texts. Run under Wine with code page 932 as the ANSI code page.
//
// Every character that LCMapStringA maps to a genuine half-width form must
// map to the same bytes; every other character must keep its bytes. Where
// LCMapStringA does something else, the difference is deliberate only when it
// is one of kDeliberateDifferences; anything else fails.
#include <windows.h>

#include <cstdio>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/half_width_table.h"
#include "text/text.h"

namespace {

using orvel::operator""_sj;

enum class Difference {
  kNone,
  kUnassignedCode,
  kNoHalfWidthFormInCodePage932,
  kDuplicateCodeRewritten,
  kResultNotHalfWidth,
  kUnexplained,
};

struct DeliberateDifference {
  Difference kind;
  const char* what_the_system_does;
  const char* why_the_bytes_are_kept;
};

// What LCMapStringA does to these characters corrupts data (field 7 and 9
// texts, dictionary keys); the plug-in keeps their bytes instead.
const DeliberateDifference kDeliberateDifferences[] = {
    {Difference::kUnassignedCode,
     "a pair that code page 932 does not assign (or a lone lead byte) becomes the "
     "default character",
     "the bytes are not a character; replacing them loses them"},
    {Difference::kNoHalfWidthFormInCodePage932,
     "a character whose half-width form code page 932 cannot hold becomes \"?\"",
     "the character has no half-width form here, so it stays as it is"},
    {Difference::kDuplicateCodeRewritten,
     "an NEC or IBM duplicate code comes back as the other code of the same character "
     "(its round trip through Unicode)",
     "the character is not half-width either way; the text keeps its own bytes"},
    {Difference::kResultNotHalfWidth,
     "a character becomes a full-width character followed by a half-width sound mark "
     "(ヾ becomes ヽﾞ)",
     "that is no half-width form, only a changed text"},
};

std::wstring ToUnicode(std::string_view text, bool strict) {
  if (text.empty()) return std::wstring();
  DWORD flags = strict ? MB_ERR_INVALID_CHARS : 0;
  int length = MultiByteToWideChar(932, flags, text.data(), static_cast<int>(text.size()),
                                   nullptr, 0);
  if (length == 0) return std::wstring();
  std::wstring wide(length, L'\0');
  MultiByteToWideChar(932, flags, text.data(), static_cast<int>(text.size()), wide.data(),
                      length);
  return wide;
}

// A lone lead byte, or a pair that code page 932 does not assign, is no
// character.
bool IsAssigned(std::string_view character) {
  if (character.size() == 1 && orvel::IsLeadByte(static_cast<unsigned char>(character[0]))) {
    return false;
  }
  return ToUnicode(character, true).size() == 1;
}

std::string SystemHalfWidth(LCID locale, std::string_view text) {
  int size = LCMapStringA(locale, LCMAP_HALFWIDTH, text.data(), static_cast<int>(text.size()),
                          nullptr, 0);
  if (size <= 0) return "<LCMapStringA failed>";
  std::string result(size, '\0');
  size = LCMapStringA(locale, LCMAP_HALFWIDTH, text.data(), static_cast<int>(text.size()),
                      result.data(), size);
  result.resize(size > 0 ? size : 0);
  return result;
}

bool AllSingleBytes(std::string_view text) {
  for (char byte : text) {
    if (orvel::IsLeadByte(static_cast<unsigned char>(byte))) return false;
  }
  return true;
}

// Why the system's result for one character differs from keeping it.
Difference Classify(std::string_view character, std::string_view system) {
  if (!IsAssigned(character)) return Difference::kUnassignedCode;
  if (system == "?" && character != "？"_sj) return Difference::kNoHalfWidthFormInCodePage932;
  if (!AllSingleBytes(system) && ToUnicode(system, true) == ToUnicode(character, true)) {
    return Difference::kDuplicateCodeRewritten;
  }
  if (system.size() > 2 && orvel::IsLeadByte(static_cast<unsigned char>(system[0])) &&
      !AllSingleBytes(system.substr(0, 2)) && AllSingleBytes(system.substr(2))) {
    return Difference::kResultNotHalfWidth;
  }
  return Difference::kUnexplained;
}

std::string Hex(std::string_view bytes) {
  std::string text;
  char part[4];
  for (char byte : bytes) {
    std::snprintf(part, sizeof(part), "%s%02X", text.empty() ? "" : " ",
                  static_cast<unsigned char>(byte));
    text += part;
  }
  return text.empty() ? "(empty)" : text;
}

struct Tally {
  int compared = 0;
  int agree_changed = 0;    // both map to the same half-width form
  int agree_unchanged = 0;  // both keep the character
  std::map<Difference, std::vector<std::string>> differences;
  std::vector<std::string> failures;
};

void CompareCharacter(LCID locale, std::string_view character, Tally* tally) {
  ++tally->compared;
  std::string ours = orvel::MapToHalfWidthByTable(character);
  std::string system = SystemHalfWidth(locale, character);
  std::string line = Hex(character) + " -> system " + Hex(system) + ", ours " + Hex(ours);
  if (ours == system) {
    ++(ours == character ? tally->agree_unchanged : tally->agree_changed);
    return;
  }
  Difference kind = Classify(character, system);
  if (kind == Difference::kUnexplained || ours != character) {
    tally->failures.push_back(line);
  } else {
    tally->differences[kind].push_back(line);
  }
}

// Longer texts map character by character, with nothing cut and nothing
// joined across characters.
void CompareText(LCID locale, std::string_view text, Tally* tally) {
  ++tally->compared;
  std::string ours = orvel::MapToHalfWidthByTable(text);
  std::string system = SystemHalfWidth(locale, text);
  if (ours == system) {
    ++tally->agree_changed;
  } else {
    tally->failures.push_back("text " + Hex(text) + " -> system " + Hex(system) + ", ours " +
                              Hex(ours));
  }
}

std::string Repeat(std::string_view text, int times) {
  std::string result;
  for (int i = 0; i < times; ++i) result += text;
  return result;
}

}  // namespace

int main() {
  const LCID locale = GetUserDefaultLCID();
  if (GetACP() != 932 || PRIMARYLANGID(LANGIDFROMLCID(locale)) != LANG_JAPANESE) {
    std::printf("the ANSI code page is %u and the locale %04lX: run with LC_ALL=ja_JP.UTF-8\n",
                GetACP(), static_cast<unsigned long>(locale));
    return 1;
  }

  Tally characters;
  for (int byte = 0; byte <= 0xFF; ++byte) {
    CompareCharacter(locale, std::string(1, static_cast<char>(byte)), &characters);
  }
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (!orvel::IsLeadByte(static_cast<unsigned char>(lead))) continue;
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      if (trail == 0x7F) continue;
      char pair[] = {static_cast<char>(lead), static_cast<char>(trail)};
      CompareCharacter(locale, std::string_view(pair, 2), &characters);
    }
  }

  // Texts whose characters all have genuine half-width forms or none.
  Tally texts;
  const std::string kTexts[] = {
      std::string("ジャンプ"_sj),
      std::string("ＡＢ　Ｃ"_sj),
      std::string("第１２巻（上）ｶﾞｲﾄﾞ and ASCII"_sj),
      std::string("漢字、かな。「カナ」・ヴァー！"_sj),
      Repeat("ガ"_sj, 200),  // 400 bytes in, 400 out: nothing is cut
  };
  for (const std::string& text : kTexts) CompareText(locale, text, &texts);

  std::printf("Characters compared: %d (every single byte and every pair with a lead byte)\n",
              characters.compared);
  std::printf("  same half-width form: %d\n", characters.agree_changed);
  std::printf("  both unchanged:       %d\n", characters.agree_unchanged);
  for (const DeliberateDifference& deliberate : kDeliberateDifferences) {
    const std::vector<std::string>& found = characters.differences[deliberate.kind];
    std::printf("  deliberately kept:    %d, where %s; kept because %s\n",
                static_cast<int>(found.size()), deliberate.what_the_system_does,
                deliberate.why_the_bytes_are_kept);
    for (std::size_t i = 0; i < found.size() && i < 5; ++i) {
      std::printf("      e.g. %s\n", found[i].c_str());
    }
  }
  std::printf("Texts compared: %d, the same: %d\n", texts.compared, texts.agree_changed);

  std::vector<std::string> failures = characters.failures;
  failures.insert(failures.end(), texts.failures.begin(), texts.failures.end());
  for (const std::string& failure : failures) std::printf("MISMATCH %s\n", failure.c_str());
  int passed = characters.compared + texts.compared - static_cast<int>(failures.size());
  std::printf("%d passed, %d failed\n", passed, static_cast<int>(failures.size()));
  return failures.empty() ? 0 : 1;
}
