// ParseItemPage on an arbitrary page file, with arbitrary dictionaries in
// the work folder, called as the batch run calls it for one code. The result
// says whether an examined line holds the title heading; only the parser's
// fields are written; dates, cover and digits keep their forms; without "&"
// in the page no tag survives in a stripped field; on well-formed Shift-JIS
// no field ends inside a double-byte character, and the output line has its
// 68 items.
//
// Input sections: page (EUC-JP), AuthDB.dat, PubDB.dat, LabelsDB.dat, the
// code in field 1, flags (first byte: 1 the private marker file exists,
// 2 a stop was requested before the page). A dictionary section that the
// input does not reach is a missing file.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "Wait/wait_window.h"
#include "common/book_record.h"
#include "common/output_line.h"
#include "dataset/author_dictionary.h"
#include "dataset/label_dictionary.h"
#include "dataset/publisher_dictionary.h"
#include "fuzz/fuzz_support.h"
#include "main/parse_item_page.h"
#include "platform/platform_fake.h"
#include "text/text_helpers.h"

namespace {

using orvel::fuzz::Require;

const std::string kWorkFolder = "/work/";
const std::string kPagePath = kWorkFolder + "Temp.html";
constexpr std::string_view kCoverMarker =
    "<dt><a href=\"//images.books.example/book/cabinet/";
constexpr std::string_view kTitleMarker = "<h1 itemprop=\"name\">";
constexpr const char* kDictionaryFiles[] = {"AuthDB.dat", "PubDB.dat", "LabelsDB.dat"};

// Fields the batch run, the parser and the dictionaries may write for a
// page; every other field stays empty.
constexpr int kParsedFields[] = {1,  2,  4,  5,  6,  7,  8,  9,  10, 13, 14, 16,
                                 17, 18, 19, 21, 25, 26, 27, 35, 36, 37, 64};
// Fields that hold page text with its markup stripped.
constexpr int kStrippedFields[] = {2, 4, 14, 16, 19, 21, 35, 36};

bool IsParsedField(int field) {
  for (int parsed : kParsedFields) {
    if (parsed == field) return true;
  }
  return false;
}

// The page lines as the parser sees them.
orvel::TextList PageLines(const orvel::Text& converted) {
  orvel::Text page = orvel::ReplaceAll(converted, "&amp;", "&");
  page = orvel::ReplaceAll(page, "&quot;", "\x81\x68");
  page = orvel::ReplaceAll(page, "&lt;", "<");
  page = orvel::ReplaceAll(page, "&gt;", ">");
  return orvel::SplitLines(page);
}

// Only the last two lines are never examined.
bool ExaminedLineHoldsTitle(const orvel::TextList& lines) {
  for (std::size_t i = 0; i + 2 < lines.size(); ++i) {
    if (orvel::Contains(lines[i], kTitleMarker)) return true;
  }
  return false;
}

// Well-formed, and no second byte that a byte search for "|" CR LF, "［",
// "］" or "円</span>" could take for the start of a marker.
bool IsPlainShiftJis(std::string_view text) {
  return orvel::fuzz::IsWellFormedShiftJis(text) &&
         !orvel::fuzz::HasSecondByteIn(text, "\x7C\x81\x89");
}

bool IsDigits(const orvel::Text& text) {
  for (char byte : text) {
    if (byte < '0' || byte > '9') return false;
  }
  return true;
}

void CheckFieldForms(std::string_view page) {
  const orvel::Text& year = orvel::BaseField(25);
  Require(year.empty() || IsDigits(year.substr(year[0] == '+' || year[0] == '-')),
          "field 25 is empty or a number", page);
  for (int field : {26, 27}) {
    const orvel::Text& part = orvel::BaseField(field);
    Require(part.empty() || (part.size() == 2 && IsDigits(part) && part != "00"),
            "fields 26 and 27 are empty or two digits", page);
  }
  const orvel::Text& cover = orvel::BaseField(37);
  Require(cover.empty() || (cover.starts_with("http://") &&
                            cover.find("noimage") == std::string::npos),
          "field 37 is empty or an http:// address without \"noimage\"", page);
}

void CheckLine(orvel::Platform& platform, std::string_view page) {
  const orvel::Text line = orvel::BaseToLine(platform);
  std::vector<std::string> items;
  for (bool by_character : {false, true}) {
    Require(orvel::fuzz::SplitCsvLine(line, by_character, &items) &&
                items.size() == orvel::kOutputColumnCount,
            "the output line of well-formed fields has 68 items", page);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static orvel::FakePlatform* const platform = new orvel::FakePlatform();
  std::size_t present = 0;
  const auto sections = orvel::fuzz::SplitSections(data, size, 6, &present);
  const std::string_view page = sections[0];
  const std::string code = sections[4].empty() ? "9784000000017" : std::string(sections[4]);
  const unsigned char flags = sections[5].empty() ? 0 : sections[5][0];
  const bool private_step = (flags & 1) != 0;
  const bool stop = (flags & 2) != 0;

  platform->files.clear();
  platform->files[kPagePath] = std::string(page);
  for (std::size_t i = 0; i < 3; ++i) {
    if (present > i + 1) platform->files[kWorkFolder + kDictionaryFiles[i]] = sections[i + 1];
  }
  if (private_step) platform->files[kPagePath + ".orvel_private"] = "";

  // The steps of the batch run for one code, up to its output line.
  orvel::ClearStopRequest();
  if (stop) orvel::CreateWaitWindow(*platform).BtnStopClick();
  orvel::ClearBase();
  orvel::BaseField(1) = code;
  orvel::LoadAuthDB(*platform, kWorkFolder);
  orvel::LookUpPublisher(*platform, kWorkFolder);
  orvel::LoadLabelDictionary(*platform, kWorkFolder);
  bool is_item_page = false;
  try {
    is_item_page = orvel::ParseItemPage(*platform, kPagePath, kCoverMarker);
  } catch (const std::exception& error) {
    orvel::fuzz::Broken("ParseItemPage raises nothing on a readable page", error.what());
  }
  orvel::ClearStopRequest();

  const orvel::Text converted =
      orvel::EucJpToShiftJis(orvel::JoinLines(orvel::SplitLines(page)));
  const orvel::TextList lines = PageLines(converted);
  Require(is_item_page == (!stop && ExaminedLineHoldsTitle(lines)),
          "the result is whether an examined line holds the title heading", page);
  if (!is_item_page) return 0;

  for (int field = 1; field <= orvel::TBase::kFieldCount; ++field) {
    if (!IsParsedField(field)) {
      Require(orvel::BaseField(field).empty(), "only the parser's fields are written", page);
    }
  }
  Require(orvel::BaseField(1) == code, "field 1 keeps the code", page);
  if (private_step) {
    Require(orvel::BaseField(17).empty() && orvel::BaseField(18).empty(),
            "the private step empties fields 17 and 18", page);
  }
  CheckFieldForms(page);
  // Broken EUC-JP pairs can turn into a lead byte before "<" or ">", which
  // the byte-wise tag walk and a character-wise reader see differently; the
  // property holds for pages that convert to well-formed text.
  if (converted.find('&') == std::string::npos && orvel::fuzz::IsWellFormedShiftJis(converted)) {
    for (int field : kStrippedFields) {
      Require(orvel::fuzz::AngleBracketsOnlyInCommentMarkers(orvel::BaseField(field)),
              "without \"&\" in the page no tag survives in a stripped field", page);
    }
  }

  bool plain = IsPlainShiftJis(converted) && IsPlainShiftJis(code);
  for (std::size_t i = 1; i <= 3; ++i) plain = plain && IsPlainShiftJis(sections[i]);
  orvel::NormalizeLabel(*platform);
  if (plain) {
    for (int field = 1; field <= orvel::TBase::kFieldCount; ++field) {
      Require(!orvel::fuzz::EndsInsideCharacter(orvel::BaseField(field)),
              "no field of a well-formed page ends inside a double-byte character", page);
    }
    orvel::BaseField(5) = orvel::DigitsOnly(orvel::BaseField(5));
    CheckLine(*platform, page);
  }
  return 0;
}
