// ini_comparison.exe: compares the plug-in's own initialisation-file reader
// (the one POSIX uses) with the system's GetPrivateProfileStringA on a corpus
// of odd files. Run under Wine with code page 932 as the ANSI code page.
//
// Each file of the corpus is written to a folder of its own, then every query
// of the file is answered by both readers; the values must be the same bytes.
#include <windows.h>

#include <cstdio>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ini_reader.h"
#include "text/text.h"

namespace {

using orvel::operator""_sj;
using namespace std::string_literals;

struct Query {
  std::string section;
  std::string key;
  std::string default_value = "DEF";
};

struct IniFile {
  const char* name;
  std::string bytes;
  std::vector<Query> queries;
};

std::string Repeat(std::string_view text, int times) {
  std::string result;
  for (int i = 0; i < times; ++i) result += text;
  return result;
}

// The corpus. Shift-JIS bytes are written with _sj; bytes that matter are in
// hex: 83 5C is ソ (a second byte that is a backslash), 83 5D is ゾ (a second
// byte that is "]"), ED 40 and FA 5C are the NEC and IBM codes of one kanji.
std::vector<IniFile> Corpus() {
  return {
      {"plain", "[Entry]\r\nPurachaseSet="s + std::string("譲渡"_sj) + "\r\nTaxSet=5\r\n",
       {{"Entry", "PurachaseSet"}, {"Entry", "TaxSet"}, {"Entry", "ReadSet"},
        {"Other", "TaxSet"}}},
      {"case of names", "[entry]\r\ntaxset=1\r\nTAXSET=2\r\n",
       {{"Entry", "TaxSet"}, {"ENTRY", "taxset"}}},
      {"blanks around names and values",
       "  [ Entry ]  \r\n  TaxSet  =  5 7  \r\n\tReadSet\t=\tx\t\r\n",
       {{"Entry", "TaxSet"}, {"Entry", "ReadSet"}, {" Entry ", " TaxSet "}}},
      {"other blanks", "[S]\r\nV=\x0Bvalue\x0C\r\n\x0BK\x0B=x\r\n",
       {{"S", "V"}, {"S", "K"}}},
      {"quotes",
       "[Q]\r\nA=\"quoted\"\r\nB='single'\r\nC=\"unbalanced\r\nD=\"a\" b\r\nE=\"\"\r\n"
       "F=\" padded \"\r\nG='mixed\"\r\nH=\"\r\nI= \"spaced\" \r\n",
       {{"Q", "A"}, {"Q", "B"}, {"Q", "C"}, {"Q", "D"}, {"Q", "E"}, {"Q", "F"}, {"Q", "G"},
        {"Q", "H"}, {"Q", "I"}}},
      {"duplicate keys and sections",
       "[S]\r\nK=first\r\nK=second\r\n[T]\r\nK=t\r\n[S]\r\nK=third\r\nL=second section\r\n",
       {{"S", "K"}, {"T", "K"}, {"S", "L"}}},
      {"comment-like lines",
       "[S]\r\n;K=semicolon\r\n#H=hash\r\nK=value ; not a comment\r\n",
       {{"S", ";K"}, {"S", "#H"}, {"S", "K"}}},
      {"CR only", "[S]\rK=cr\rL=two\r", {{"S", "K"}, {"S", "L"}}},
      {"LF only", "[S]\nK=lf\nL=two\n", {{"S", "K"}, {"S", "L"}}},
      {"no final line break", "[S]\r\nK=end", {{"S", "K"}}},
      {"empty and valueless lines", "[S]\r\n\r\n   \r\nK\r\nK=x\r\n=v\r\nE=\r\n",
       {{"S", "K"}, {"S", "E"}, {"S", "E", ""}}},
      {"equals in the value", "[S]\r\nK=a=b\r\n", {{"S", "K"}}},
      {"key with a blank inside", "[S]\r\nMy Key = v\r\n", {{"S", "My Key"}, {"S", "MyKey"}}},
      {"header without a closing bracket", "[S\r\nK=x\r\n[S]\r\nK=y\r\n", {{"S", "K"}}},
      {"text after the header", "[S] trailing\r\nK=x\r\n", {{"S", "K"}}},
      {"lines before the first section", "K=none\r\n[S]\r\nK=s\r\n", {{"S", "K"}}},
      {"long values",
       "[S]\r\nK=" + Repeat("a", 3000) + "\r\nL=" + Repeat("あ"_sj, 1100) + "\r\nM=" +
           Repeat("b", 2047) + "\r\n",
       {{"S", "K"}, {"S", "L"}, {"S", "M"}}},
      {"zero byte in a value", "[S]\r\nK=ab\0cd\r\nL=after\r\n"s, {{"S", "K"}, {"S", "L"}}},
      {"Shift-JIS names and values",
       std::string("[日本]\r\nキー=値"_sj) + "\x83\x5C\r\n[\x83\x5D]\r\nA=x\r\n" +
           std::string("[表]\r\n表=値"_sj) + "\x95\x5C\r\n",
       {{std::string("日本"_sj), std::string("キー"_sj)},
        {"\x83\x5D", "A"},
        {std::string("表"_sj), std::string("表"_sj)}}},
      {"NEC and IBM duplicate codes", "[S]\r\nK=\xED\x40\xFA\x5C\xEE\xFA\r\n", {{"S", "K"}}},
      {"UTF-8 byte-order mark", "\xEF\xBB\xBF[S]\r\nK=bom\r\nJ=\xE8\xAD\xB2\r\n",
       {{"S", "K"}, {"S", "J"}}},
      {"UTF-16 byte-order mark", "\xFF\xFE[\0S\0]\0\r\0\n\0K\0=\0u\0\r\0\n\0"s, {{"S", "K"}}},
      {"defaults with blanks", "[S]\r\nK=x\r\n",
       {{"S", "missing", "def  "}, {"S", "missing", "  def"}, {"T", "K", ""}}},
  };
}

// Where the system's value is damaged, the reader gives the sound value; these
// differences are accepted, every other one fails.
struct DeliberateDifference {
  const char* what_the_system_does;
  bool (*applies)(std::string_view system, std::string_view ours);
};

std::wstring ToUnicode(std::string_view text) {
  if (text.empty()) return std::wstring();
  int length = MultiByteToWideChar(932, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(length, L'\0');
  MultiByteToWideChar(932, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

const DeliberateDifference kDeliberateDifferences[] = {
    {"a value longer than 2,047 bytes is cut inside a double-byte character, leaving a lone "
     "lead byte; the reader cuts before that character",
     [](std::string_view system, std::string_view ours) {
       return system.size() == orvel::kIniValueLimit && ours.size() < system.size() &&
              ours == system.substr(0, orvel::CharacterBoundaryAtOrBefore(
                                           system, orvel::kIniValueLimit));
     }},
    {"NEC and IBM duplicate codes come back as the other code of the same character (the "
     "file's text goes through Unicode); the reader keeps the file's bytes",
     [](std::string_view system, std::string_view ours) {
       return system.size() == ours.size() && ToUnicode(system) == ToUnicode(ours);
     }},
};

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

std::string Shown(std::string_view bytes) {
  if (bytes.size() > 40) {
    return Hex(bytes.substr(0, 8)) + " ... " + Hex(bytes.substr(bytes.size() - 4)) + " (" +
           std::to_string(bytes.size()) + " bytes)";
  }
  return Hex(bytes);
}

// The buffer starts zeroed: where a cut value leaves the last byte unwritten
// (Wine does), that byte is not whatever the stack held.
std::string SystemValue(const std::string& path, const Query& query) {
  char value[2048] = {};
  DWORD length = GetPrivateProfileStringA(query.section.c_str(), query.key.c_str(),
                                          query.default_value.c_str(), value, sizeof(value),
                                          path.c_str());
  return std::string(value, strnlen(value, length));
}

bool WriteFileBytes(const std::string& path, std::string_view bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool complete = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                            nullptr) &&
                  written == bytes.size();
  return CloseHandle(file) && complete;
}

}  // namespace

int main() {
  if (GetACP() != 932) {
    std::printf("the ANSI code page is %u: run with LC_ALL=ja_JP.UTF-8\n", GetACP());
    return 1;
  }
  char temporary[MAX_PATH];
  GetTempPathA(sizeof(temporary), temporary);
  std::string folder = std::string(temporary) + "orvel-ini-" + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(folder.c_str(), nullptr);

  int files = 0;
  int queries = 0;
  std::vector<std::string> mismatches;
  std::vector<int> deliberate(std::size(kDeliberateDifferences));
  for (const IniFile& file : Corpus()) {
    std::string path = folder + "\\file" + std::to_string(++files) + ".ini";
    if (!WriteFileBytes(path, file.bytes)) {
      std::printf("cannot write %s\n", path.c_str());
      return 1;
    }
    for (const Query& query : file.queries) {
      ++queries;
      std::string system = SystemValue(path, query);
      std::string ours =
          orvel::ReadIniValue(file.bytes, query.section, query.key, query.default_value);
      if (ours == system) continue;
      std::size_t kind = 0;
      while (kind < std::size(kDeliberateDifferences) &&
             !kDeliberateDifferences[kind].applies(system, ours)) {
        ++kind;
      }
      if (kind < std::size(kDeliberateDifferences)) {
        ++deliberate[kind];
      } else {
        mismatches.push_back(std::string(file.name) + ": [" + Hex(query.section) + "] " +
                             Hex(query.key) + " (default " + Hex(query.default_value) +
                             ") -> system " + Shown(system) + ", ours " + Shown(ours));
      }
    }
    DeleteFileA(path.c_str());
  }
  RemoveDirectoryA(folder.c_str());

  std::printf("Files compared: %d, queries: %d\n", files, queries);
  for (std::size_t kind = 0; kind < std::size(kDeliberateDifferences); ++kind) {
    std::printf("  deliberately different: %d, where %s\n", deliberate[kind],
                kDeliberateDifferences[kind].what_the_system_does);
  }
  for (const std::string& mismatch : mismatches) std::printf("MISMATCH %s\n", mismatch.c_str());
  std::printf("%d passed, %d failed\n", queries - static_cast<int>(mismatches.size()),
              static_cast<int>(mismatches.size()));
  return mismatches.empty() ? 0 : 1;
}
