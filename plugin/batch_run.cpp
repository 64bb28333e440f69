#include "plugin/batch_run.h"

#include <charconv>
#include <exception>
#include <memory>
#include <new>

#include "common/book_record.h"
#include "common/host_services.h"
#include "common/output_line.h"
#include "common/run_error.h"
#include "dataset/author_dictionary.h"
#include "dataset/label_dictionary.h"
#include "dataset/publisher_dictionary.h"
#include "main/parse_item_page.h"
#include "platform/platform.h"
#include "text/text_helpers.h"
#include "Wait/wait_window.h"

namespace orvel {

namespace {

Text& WorkFolderText() {
  static Text* const text = new Text();
  return *text;
}

constexpr std::string_view kResultMarker = "l-id=search-c-item-text-01";

// Settings defaults: each fills its field only when the field is empty.
struct SettingDefault {
  const char* key;
  std::string_view default_value;
  int field;
};
constexpr SettingDefault kSettingDefaults[] = {
    {"PurachaseSet", "購入"_sj, 20},
    {"TaxSet", "0", 22},
    {"TaxSet", "0", 24},
    {"ReadSet", "既読"_sj, 45},
};

bool IsFollowableLink(std::string_view link) {
  return link.starts_with("http://") || link.starts_with("https://");
}

// Characters `first` to `last` (1-based, bytes) of `text`.
Text Characters(std::string_view text, std::size_t first, std::size_t last) {
  return Text(text.substr(first - 1, last - first + 1));
}

// A whole decimal number written back without leading zeros; "0" when the
// text is not one.
Text DecimalWithoutLeadingZeros(std::string_view text) {
  long long value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return "0";
  return std::to_string(value);
}

class BatchRun {
 public:
  BatchRun(Platform& platform, const StoreSettings& settings, std::string output_path)
      : platform_(platform),
        settings_(settings),
        output_path_(std::move(output_path)),
        scratch_path_(WorkFolderText() + "Temp.html"),
        settings_path_(platform.ExecutableFolder() + platform.PathSeparator() +
                       "Setting.ini"),
        cover_marker_("<dt><a href=\"//" + settings.image_host + "/book/cabinet/") {}

  // Splits the list, binds the host and runs every code; the lines are saved
  // at the end, also after a stop.
  void Run(std::string_view code_list) {
    codes_ = SplitLines(code_list);
    if (!BindHost(platform_)) return;
    CreateWaitWindow(platform_);
    downloader_ = platform_.OpenDownloader(settings_.download);
    const int count = static_cast<int>(codes_.size());
    for (int i = 1; i <= count; ++i) {
      PerCodeStep(platform_, i, count);
      if (StopRequested()) break;
      LookUpCode(codes_[i - 1]);
    }
    SaveCollectedLines();
  }

  // What the run holds goes, on every way out.
  void Release() {
    downloader_.reset();
    ReleaseHost(platform_);
    codes_.clear();
    FreeAuthDB();
  }

  // After an unexpected error: keeps what was collected when it can.
  void SaveAfterError(std::string* note) {
    try {
      SaveCollectedLines();
    } catch (const std::exception& error) {
      *note = error.what();
    }
  }

 private:
  void SaveCollectedLines() {
    if (!SaveOutputFile(platform_, output_path_, collected_)) {
      ThrowUnwritable(output_path_);
    }
  }

  void LookUpCode(Text& entry) {
    ClearBase();
    BaseField(1) = entry;
    LoadAuthDB(platform_, WorkFolderText());
    LookUpPublisher(platform_, WorkFolderText());
    LoadLabelDictionary(platform_, WorkFolderText());
    if (BaseField(1).size() == 18) SplitEighteenCharacterCode(entry);

    entry = ISBNChkFunc(BaseField(1));
    if (entry.empty()) return;

    DownloadToScratch(SearchUrl(settings_.store_host, entry));
    Text link = ItemLinkOfScratchFile();
    if (!IsFollowableLink(link)) return;
    BaseField(17) = link;

    DownloadToScratch(link);
    if (!ParseItemPage(platform_, scratch_path_, cover_marker_)) return;
    if (BaseField(1).size() == 26) SplitTwentySixCharacterCode();
    CompleteAndCollect();
  }

  // An ISBN-10, a four-character classification and four price characters.
  static void SplitEighteenCharacterCode(std::string_view entry) {
    BaseField(1) = Characters(entry, 1, 10);
    BaseField(11) = Characters(entry, 11, 14);
    Text price = Characters(entry, 15, 18);
    if (price == "0000") {
      price.clear();
    } else if (price[0] == '0') {
      price.erase(0, 1);  // one leading zero is dropped, no more
    }
    BaseField(21) = price;
  }

  // An ISBN-13, a classification, five price digits and the check digit.
  static void SplitTwentySixCharacterCode() {
    const Text code = BaseField(1);
    if (BaseField(11).empty()) BaseField(11) = Characters(code, 17, 20);
    if (BaseField(21).empty()) {
      BaseField(21) = DecimalWithoutLeadingZeros(Characters(code, 21, 25));
    }
    BaseField(1) = Characters(code, 1, 13);
  }

  // The scratch file goes first, so that a failed download never leaves an
  // earlier page to be read as this one.
  void DownloadToScratch(const std::string& url) {
    platform_.RemoveFile(scratch_path_);
    if (!downloader_->Download(url, scratch_path_)) {
      platform_.ShowMessage("ダウンロード失敗"_sj);
    }
  }

  // The link of the first result in the scratch file; empty when there is
  // none.
  Text ItemLinkOfScratchFile() {
    if (!platform_.FileExists(scratch_path_)) return Text();
    std::string page;
    if (!platform_.ReadWholeFile(scratch_path_, &page)) return Text();
    return FirstItemLink(page);
  }

  void CompleteAndCollect() {
    NormalizeLabel(platform_);
    BaseField(5) = DigitsOnly(BaseField(5));
    for (const SettingDefault& setting : kSettingDefaults) {
      if (!BaseField(setting.field).empty()) continue;
      BaseField(setting.field) = platform_.ReadIniString(
          settings_path_, "Entry", setting.key, Text(setting.default_value));
    }
    collected_.push_back(BaseToLine(platform_));
  }

  Platform& platform_;
  const StoreSettings& settings_;
  const std::string output_path_;
  const std::string scratch_path_;
  const std::string settings_path_;
  const std::string cover_marker_;
  std::unique_ptr<Downloader> downloader_;
  TextList codes_;
  TextList collected_;
};

bool IsEmpty(const char* text) { return text == nullptr || text[0] == '\0'; }

void ShowUnexpectedError(Platform& platform, const std::string& what,
                         const std::string& save_note) {
  std::string message = std::string("処理中にエラーが発生しました"_sj) + "\r\n" + what;
  if (!save_note.empty() && save_note != what) message += "\r\n" + save_note;
  platform.ShowMessage(message);
}

}  // namespace

const Text& WorkFolder() { return WorkFolderText(); }

Text FirstItemLink(std::string_view result_page) {
  for (const Text& line : SplitLines(EucJpToShiftJis(result_page))) {
    if (Contains(line, kResultMarker)) return TextBetween(line, "<a href=\"", "\">");
  }
  return Text();
}

std::string SearchUrl(const std::string& store_host, std::string_view code) {
  static constexpr char kHexDigits[] = "0123456789ABCDEF";
  std::string url = "https://" + store_host + "/search?sitem=";
  for (char character : code) {
    unsigned char byte = static_cast<unsigned char>(character);
    bool unreserved = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                      (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' ||
                      byte == '_' || byte == '~';
    if (unreserved) {
      url.push_back(character);
    } else {
      url.push_back('%');
      url.push_back(kHexDigits[byte >> 4]);
      url.push_back(kHexDigits[byte & 0x0F]);
    }
  }
  return url;
}

void RunBatch(Platform& platform, const StoreSettings& settings,
              const char* work_folder, const char* output_path,
              const char* code_list) {
  try {
    ClearStopRequest();
    WorkFolderText() = work_folder == nullptr ? "" : work_folder;
    if (IsEmpty(output_path)) {
      platform.ShowMessage("出力ファイルが指定されていません"_sj);
      return;
    }
    if (platform.FileExists(output_path)) platform.RemoveFile(output_path);
    if (IsEmpty(work_folder)) {
      platform.ShowMessage("作業フォルダが指定されていません"_sj);
      return;
    }
    if (IsEmpty(code_list)) {
      platform.ShowMessage("検索するISBNを取得できませんでした"_sj);
      return;
    }
    // Looking codes up only to lose the lines at the end helps nobody: a
    // missing work folder or an output that cannot be written ends the run
    // before the first code.
    if (!platform.FolderExists(work_folder)) {
      platform.ShowMessage(std::string("作業フォルダがありません"_sj) + "\r\n" + work_folder);
      return;
    }
    if (!platform.WriteWholeFile(output_path, "")) ThrowUnwritable(output_path);
    platform.RemoveFile(output_path);
  } catch (const std::exception& error) {
    ShowUnexpectedError(platform, error.what(), "");
    return;
  }

  std::unique_ptr<BatchRun> run;
  try {
    run = std::make_unique<BatchRun>(platform, settings, output_path);
    run->Run(code_list);
    run->Release();
  } catch (const std::exception& error) {
    std::string save_note;
    if (run != nullptr) {
      run->SaveAfterError(&save_note);
      run->Release();
    }
    ShowUnexpectedError(platform, error.what(), save_note);
  } catch (...) {
    std::string save_note;
    if (run != nullptr) {
      run->SaveAfterError(&save_note);
      run->Release();
    }
    ShowUnexpectedError(platform, "?", save_note);
  }
}

}  // namespace orvel
