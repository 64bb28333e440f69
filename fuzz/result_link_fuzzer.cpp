// The result-page link search, through RunBatch on the in-memory platform:
// one code, an arbitrary result page, an arbitrary item page and an
// arbitrary "Setting.ini". The run follows exactly the link that the first
// result line gives, or none; it shows no message, releases the host and the
// downloader, and writes one line when the item page has a title heading,
// none otherwise.
//
// Input sections: result page (EUC-JP), item page (EUC-JP), the code, the
// settings file.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/host_services.h"
#include "fuzz/fuzz_support.h"
#include "platform/platform_fake.h"
#include "plugin/batch_run.h"
#include "text/text_helpers.h"

namespace {

using orvel::fuzz::Require;

constexpr const char* kWorkFolder = "/work/";
constexpr const char* kOutputPath = "/work/out.csv";
constexpr std::string_view kResultMarker = "l-id=search-c-item-text-01";
constexpr std::string_view kTitleMarker = "<h1 itemprop=\"name\">";

// The host answers every code as it is.
const char* ORVEL_STDCALL IsbnCheck(const char* code) {
  static std::string answer;
  answer = code;
  return answer.c_str();
}

int ORVEL_STDCALL OtherService() { return 0; }

// The link of the first result line, as the run reads the result page.
orvel::Text ExpectedLink(std::string_view result_page) {
  for (const orvel::Text& line : orvel::SplitLines(orvel::EucJpToShiftJis(result_page))) {
    if (orvel::Contains(line, kResultMarker)) {
      return orvel::TextBetween(line, "<a href=\"", "\">");
    }
  }
  return orvel::Text();
}

// Whether the parser examines a title heading line of the item page.
bool HasTitleHeading(std::string_view item_page) {
  orvel::Text page =
      orvel::EucJpToShiftJis(orvel::JoinLines(orvel::SplitLines(item_page)));
  page = orvel::ReplaceAll(page, "&amp;", "&");
  page = orvel::ReplaceAll(page, "&quot;", "\x81\x68");
  page = orvel::ReplaceAll(page, "&lt;", "<");
  page = orvel::ReplaceAll(page, "&gt;", ">");
  const orvel::TextList lines = orvel::SplitLines(page);
  for (std::size_t i = 0; i + 2 < lines.size(); ++i) {
    if (orvel::Contains(lines[i], kTitleMarker)) return true;
  }
  return false;
}

// One line of a code list: no line break, no zero byte.
std::string CodeFrom(std::string_view bytes) {
  std::string code;
  for (char byte : bytes) {
    if (byte != '\r' && byte != '\n' && byte != '\0') code.push_back(byte);
  }
  return code.empty() ? "9784000000017" : code;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto sections = orvel::fuzz::SplitSections(data, size, 4);
  const std::string result_page(sections[0]);
  const std::string item_page(sections[1]);
  const std::string code = CodeFrom(sections[2]);

  orvel::FakePlatform platform;
  for (const char* name : orvel::kHostServiceNames) {
    platform.host_symbols[name] = reinterpret_cast<void*>(&OtherService);
  }
  platform.host_symbols["ISBNChkFunc"] = reinterpret_cast<void*>(&IsbnCheck);
  if (!sections[3].empty()) platform.files["/host/Setting.ini"] = std::string(sections[3]);
  // The first download is the search, the second the item page.
  platform.on_download = [&platform, &result_page, &item_page](const std::string& url) {
    platform.store[url].body = platform.downloads.size() == 1 ? result_page : item_page;
  };

  orvel::RunBatch(platform, orvel::StoreSettings(), kWorkFolder, kOutputPath, code.c_str());

  Require(!platform.downloads.empty() &&
              platform.downloads[0].starts_with("https://books.example/search?sitem="),
          "the search page is asked first", result_page);
  Require(platform.downloads.size() <= 2, "one code downloads at most two pages",
          result_page);
  const orvel::Text link = ExpectedLink(result_page);
  if (platform.downloads.size() == 2) {
    Require(!link.empty() && platform.downloads[1] == link,
            "the link followed is the one of the first result line", result_page);
  } else if (link.starts_with("https://")) {
    orvel::fuzz::Broken("a store link on the first result line is followed", result_page);
  }
  Require(platform.messages.empty() && platform.error_messages.empty(),
          "a run over readable pages shows no message",
          platform.messages.empty() ? "" : platform.messages[0]);
  Require(platform.loaded_modules == 0 && platform.open_downloaders == 0,
          "the run releases the host and the downloader");

  auto output = platform.files.find(kOutputPath);
  Require(output != platform.files.end(), "the output file is written");
  const bool book_found = platform.downloads.size() == 2 && HasTitleHeading(item_page);
  if (book_found) {
    Require(output->second.size() > 2 && output->second.ends_with("\r\n"),
            "a book found gives its line", item_page);
  } else {
    Require(output->second.empty(), "no book found gives an empty file", item_page);
  }
  return 0;
}
