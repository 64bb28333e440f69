// The batch run on the in-memory platform: its steps, early exits, combined
// codes, settings defaults, stop and the behaviour on faults.
#include "plugin/batch_run.h"

#include <gtest/gtest.h>

#include "common/book_record.h"
#include "common/host_services.h"
#include "host/isbn_check.h"
#include "platform/platform_fake.h"
#include "Wait/wait_window.h"

namespace orvel {
namespace {

constexpr const char* kWork = "/work/";
constexpr const char* kOutput = "/work/out.csv";
constexpr const char* kScratch = "/work/Temp.html";
const std::string kStore = "https://books.example/search?sitem=";

std::vector<std::string> isbn_check_calls;
std::string isbn_check_answer_override;
bool isbn_check_answers_null = false;

const char* ORVEL_STDCALL FakeIsbnCheck(const char* code) {
  static std::string answer;
  isbn_check_calls.emplace_back(code);
  if (isbn_check_answers_null) return nullptr;
  answer = isbn_check_answer_override.empty() ? korvane::NormaliseCode(code)
                                              : isbn_check_answer_override;
  return answer.c_str();
}

int ORVEL_STDCALL OtherService() { return 0; }

// Splits an output line at the commas outside quotes.
std::vector<std::string> Columns(const std::string& line) {
  std::vector<std::string> columns(1);
  bool quoted = false;
  for (char c : line) {
    if (c == '"') quoted = !quoted;
    if (c == ',' && !quoted) {
      columns.emplace_back();
    } else {
      columns.back().push_back(c);
    }
  }
  return columns;
}

class BatchRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    isbn_check_calls.clear();
    isbn_check_answer_override.clear();
    isbn_check_answers_null = false;
    for (const char* name : kHostServiceNames) {
      platform_.host_symbols[name] = reinterpret_cast<void*>(&OtherService);
    }
    platform_.host_symbols["ISBNChkFunc"] = reinterpret_cast<void*>(&FakeIsbnCheck);
  }

  // A result page whose first result links to `item_url`, and a small item
  // page titled `title` there.
  void AddBook(const std::string& code, const std::string& title,
               const std::string& item_url = "") {
    std::string url = item_url.empty() ? "https://books.example/item/" + code : item_url;
    platform_.store[kStore + code].body =
        "<html>\n<div class=\"x\" l-id=search-c-item-text-01><a href=\"" + url +
        "\">" + title + "</a></div>\n</html>\n";
    platform_.store[url].body =
        "<html>\n<h1 itemprop=\"name\">" + title + "</h1>\n<p>\n</p>\n</html>\n";
  }

  void Run(const char* codes, const char* work = kWork, const char* output = kOutput) {
    RunBatch(platform_, StoreSettings(), work, output, codes);
  }

  std::vector<std::vector<std::string>> OutputLines() {
    std::vector<std::vector<std::string>> lines;
    for (const Text& line : SplitLines(platform_.files.at(kOutput))) {
      lines.push_back(Columns(line));
    }
    return lines;
  }

  FakePlatform platform_;
};

TEST_F(BatchRunTest, EarlyExitsLeaveNoOutputFile) {
  struct Case {
    const char* name;
    const char* codes;
    const char* work;
    const char* output;
    std::string message;
  };
  const Case cases[] = {
      {"null code list", nullptr, kWork, kOutput, std::string("検索するISBNを取得できませんでした"_sj)},
      {"empty code list", "", kWork, kOutput, std::string("検索するISBNを取得できませんでした"_sj)},
      {"no work folder", "4088725093", nullptr, kOutput, std::string("作業フォルダが指定されていません"_sj)},
      {"empty work folder", "4088725093", "", kOutput, std::string("作業フォルダが指定されていません"_sj)},
  };
  for (const Case& c : cases) {
    platform_.files[kOutput] = "old";
    platform_.messages.clear();
    Run(c.codes, c.work, c.output);
    EXPECT_EQ(platform_.files.count(kOutput), 0u) << c.name;
    EXPECT_EQ(platform_.messages, std::vector<std::string>{c.message}) << c.name;
    EXPECT_TRUE(platform_.downloads.empty()) << c.name;
  }
}

TEST_F(BatchRunTest, NoOutputPathGetsAMessage) {
  Run("4088725093", kWork, nullptr);
  Run("4088725093", kWork, "");
  EXPECT_EQ(platform_.messages,
            std::vector<std::string>(2, std::string("出力ファイルが指定されていません"_sj)));
}

TEST_F(BatchRunTest, FailedBindingLeavesNoOutputFile) {
  platform_.host_symbols.erase("SelectExportFunc");
  platform_.files[kOutput] = "old";
  Run("4088725093");
  EXPECT_EQ(platform_.files.count(kOutput), 0u);
  EXPECT_EQ(platform_.error_messages.size(), 1u);
  EXPECT_EQ(platform_.loaded_modules, 0);
  EXPECT_TRUE(platform_.downloads.empty());
}

TEST_F(BatchRunTest, MissingHostModuleShowsItsPath) {
  platform_.host_module_exists = false;
  Run("4088725093");
  ASSERT_EQ(platform_.error_messages.size(), 2u);
  EXPECT_EQ(platform_.error_messages[0], "/host/korvane.exe" + std::string("がありません。"_sj));
  EXPECT_EQ(platform_.error_messages[1],
            "関数がありません。Quorbel、または、プラグインのバージョンが古い可能性があります。"_sj);
}

TEST_F(BatchRunTest, OneLinePerBookInCodeOrderAndReleasesEverything) {
  AddBook("9784088725093", "First");
  AddBook("4088725093", "Second");
  Run("9784088725093\r\n\r\n4088725093\r\n4088725094\r\n");
  // The empty entry goes to the host as an empty text; a rejected code is
  // never requested.
  EXPECT_EQ(isbn_check_calls,
            (std::vector<std::string>{"9784088725093", "", "4088725093", "4088725094"}));
  EXPECT_EQ(platform_.downloads,
            (std::vector<std::string>{kStore + "9784088725093",
                                      "https://books.example/item/9784088725093",
                                      kStore + "4088725093",
                                      "https://books.example/item/4088725093"}));
  auto lines = OutputLines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0][0], "9784088725093");
  EXPECT_EQ(lines[0][1], "First");
  EXPECT_EQ(lines[0][16], "https://books.example/item/9784088725093");
  EXPECT_EQ(lines[1][1], "Second");
  EXPECT_EQ(platform_.loaded_modules, 0);
  EXPECT_EQ(platform_.open_downloaders, 0);
  EXPECT_TRUE(platform_.messages.empty());
}

TEST_F(BatchRunTest, HostNormalisationIsSearchedButNotStored) {
  AddBook("9784088725093", "Title");
  Run("978-4-08-872509-3");
  EXPECT_EQ(platform_.downloads[0], kStore + "9784088725093");
  EXPECT_EQ(OutputLines().at(0)[0], "978-4-08-872509-3");
}

TEST_F(BatchRunTest, HostAnsweringNullSkipsTheCode) {
  isbn_check_answers_null = true;
  Run("4088725093");
  EXPECT_TRUE(platform_.downloads.empty());
  EXPECT_EQ(platform_.files.at(kOutput), "");
}

TEST_F(BatchRunTest, SearchCodeIsPercentEncoded) {
  isbn_check_answer_override = "12 &x=\x83\x7C";
  Run("4088725093");
  EXPECT_EQ(platform_.downloads[0], kStore + "12%20%26x%3D%83%7C");
  EXPECT_EQ(SearchUrl("h:1", "aZ09-._~/"), "https://h:1/search?sitem=aZ09-._~%2F");
}

TEST_F(BatchRunTest, EighteenCharacterCodes) {
  struct Case {
    std::string price_block;
    std::string field_21;
  };
  const Case cases[] = {{"0600", "600"}, {"0060", "060"}, {"0000", ""}, {"1200", "1200"}};
  AddBook("4088725093", "Title");
  for (const Case& c : cases) {
    Run(("40887250930193" + c.price_block).c_str());
    EXPECT_EQ(isbn_check_calls.back(), "4088725093");
    auto line = OutputLines().at(0);
    EXPECT_EQ(line[0], "4088725093");
    EXPECT_EQ(line[10], "0193");
    EXPECT_EQ(line[21], c.field_21) << c.price_block;  // field 21 is column 22
  }
}

TEST_F(BatchRunTest, TwentySixCharacterCodes) {
  AddBook("9784088725093", "Title");
  // Characters 21 to 25 are the price digits; 26 is the bar code's check digit.
  Run("97840887250931920193006007");
  EXPECT_EQ(isbn_check_calls.back(), "97840887250931920193006007");
  auto line = OutputLines().at(0);
  EXPECT_EQ(line[0], "9784088725093");
  EXPECT_EQ(line[10], "0193");
  EXPECT_EQ(line[21], "600");
}

TEST_F(BatchRunTest, TwentySixCharacterCodeWithoutItemPageGivesNoLine) {
  AddBook("9784088725093", "Title");
  platform_.store["https://books.example/item/9784088725093"].body = "<html>\n</html>\n";
  Run("97840887250931920193006007");
  EXPECT_EQ(platform_.files.at(kOutput), "");
}

TEST_F(BatchRunTest, SettingsDefaultsFillEmptyFields) {
  AddBook("4088725093", "Title");
  Run("4088725093");
  auto line = OutputLines().at(0);
  EXPECT_EQ(line[20], std::string("購入"_sj));  // field 20
  EXPECT_EQ(line[22], "0");                    // field 22
  EXPECT_EQ(line[24], "0");                    // field 24
  EXPECT_EQ(line[46], std::string("既読"_sj));  // field 45

  platform_.files["/host/Setting.ini"] =
      "[Entry]\r\nPurachaseSet=" + std::string("予約"_sj) + "\r\nTaxSet=1\r\nReadSet=x\r\n";
  Run("4088725093");
  line = OutputLines().at(0);
  EXPECT_EQ(line[20], std::string("予約"_sj));
  EXPECT_EQ(line[22], "1");
  EXPECT_EQ(line[24], "1");
  EXPECT_EQ(line[46], "x");
}

TEST_F(BatchRunTest, ResultPageWithoutLink) {
  struct Case {
    const char* name;
    std::string page;
  };
  const Case cases[] = {
      {"no marker", "<html>\n<a href=\"https://books.example/item/1\">x</a>\n"},
      {"marker without link", "<div l-id=search-c-item-text-01>x</div>\n"
                              "<div l-id=search-c-item-text-01><a href=\"https://b/1\">\n"},
      {"not an http link", "<div l-id=search-c-item-text-01><a href=\"file:///etc/passwd\">\n"},
      {"relative link", "<div l-id=search-c-item-text-01><a href=\"/item/1\">\n"},
  };
  for (const Case& c : cases) {
    platform_.downloads.clear();
    platform_.store[kStore + "4088725093"].body = c.page;
    Run("4088725093");
    EXPECT_EQ(platform_.downloads.size(), 1u) << c.name;
    EXPECT_EQ(platform_.files.at(kOutput), "") << c.name;
    EXPECT_TRUE(platform_.messages.empty()) << c.name;
  }
}

TEST_F(BatchRunTest, FirstMatchingResultLineWins) {
  AddBook("4088725093", "Title");
  platform_.store[kStore + "4088725093"].body =
      "<div l-id=search-c-item-text-01><a href=\"https://books.example/item/4088725093\">\n"
      "<div l-id=search-c-item-text-01><a href=\"https://books.example/item/other\">\n";
  Run("4088725093");
  EXPECT_EQ(platform_.downloads.at(1), "https://books.example/item/4088725093");
}

TEST_F(BatchRunTest, FailedDownloadNeverReadsAnEarlierPage) {
  AddBook("9784088725093", "First");
  AddBook("4088725093", "Second");
  platform_.store[kStore + "4088725093"].fails = true;
  Run("9784088725093\r\n4088725093");
  EXPECT_EQ(platform_.messages, std::vector<std::string>{std::string("ダウンロード失敗"_sj)});
  EXPECT_EQ(OutputLines().size(), 1u);

  // A failed item page after a good search page: the search page is not
  // parsed as the item page.
  platform_.messages.clear();
  platform_.store[kStore + "4088725093"].fails = false;
  platform_.store["https://books.example/item/4088725093"].fails = true;
  platform_.store[kStore + "4088725093"].body +=
      "<h1 itemprop=\"name\">Not a book</h1>\nx\nx\n";
  Run("4088725093");
  EXPECT_EQ(platform_.messages, std::vector<std::string>{std::string("ダウンロード失敗"_sj)});
  EXPECT_EQ(platform_.files.at(kOutput), "");
}

TEST_F(BatchRunTest, ScratchFileStaysAfterTheRun) {
  AddBook("4088725093", "Title");
  Run("4088725093");
  EXPECT_EQ(platform_.files.count(kScratch), 1u);
}

TEST_F(BatchRunTest, StopEndsTheRunWithTheLinesCollected) {
  AddBook("9784088725093", "First");
  AddBook("4088725093", "Second");
  int step = 0;
  platform_.pending_stop = [&step] { return ++step == 2; };
  Run("9784088725093\r\n4088725093");
  EXPECT_EQ(OutputLines().size(), 1u);
  EXPECT_TRUE(StopRequested());
  EXPECT_EQ(platform_.loaded_modules, 0);

  // The next run starts afresh.
  platform_.pending_stop = nullptr;
  Run("9784088725093\r\n4088725093");
  EXPECT_EQ(OutputLines().size(), 2u);
}

TEST_F(BatchRunTest, StopBeforeTheFirstCodeWritesAnEmptyFile) {
  platform_.pending_stop = [] { return true; };
  Run("4088725093");
  EXPECT_EQ(platform_.files.at(kOutput), "");
  EXPECT_TRUE(platform_.downloads.empty());
}

TEST_F(BatchRunTest, MissingWorkFolderEndsTheRunBeforeTheFirstCode) {
  platform_.missing_folders[kWork] = true;
  Run("4088725093");
  EXPECT_EQ(platform_.messages,
            std::vector<std::string>{std::string("作業フォルダがありません"_sj) + "\r\n" + kWork});
  EXPECT_TRUE(platform_.downloads.empty());
  EXPECT_EQ(platform_.files.count(kOutput), 0u);
}

TEST_F(BatchRunTest, UnwritableOutputIsReported) {
  const std::string message = std::string("処理中にエラーが発生しました"_sj) + "\r\n" + kOutput +
                              std::string(" に書き込めません"_sj);
  AddBook("4088725093", "Title");
  // Known at the start: nothing is looked up.
  platform_.unwritable_files[kOutput] = true;
  Run("4088725093");
  EXPECT_EQ(platform_.messages, std::vector<std::string>{message});
  EXPECT_TRUE(platform_.downloads.empty());

  // Found only at the end (a full disk): the run still says so.
  platform_.messages.clear();
  platform_.unwritable_files.clear();
  platform_.on_download = [this](const std::string&) { platform_.unwritable_files[kOutput] = true; };
  Run("4088725093");
  EXPECT_EQ(platform_.messages, std::vector<std::string>{message});
  EXPECT_EQ(platform_.loaded_modules, 0);
  EXPECT_EQ(platform_.open_downloaders, 0);
}

TEST_F(BatchRunTest, UnexpectedErrorSavesTheLinesCollected) {
  AddBook("9784088725093", "First");
  AddBook("4088725093", "Second");
  platform_.on_download = [](const std::string& url) {
    if (url.find("4088725093") != std::string::npos && url.find("978") == std::string::npos) {
      throw std::runtime_error("broken");
    }
  };
  Run("9784088725093\r\n4088725093\r\n");
  EXPECT_EQ(OutputLines().size(), 1u);
  EXPECT_EQ(platform_.messages,
            std::vector<std::string>{std::string("処理中にエラーが発生しました"_sj) + "\r\nbroken"});
  EXPECT_EQ(platform_.loaded_modules, 0);
}

}  // namespace
}  // namespace orvel
