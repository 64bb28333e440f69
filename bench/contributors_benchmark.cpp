// The contributor path per code: re-reading a 5 MB "AuthDB.dat" with one
// contributor line stored through it, and the item page parser on a 200 KB
// page whose contributor line names 20 people.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <string_view>

#include "common/book_record.h"
#include "dataset/author_dictionary.h"
#include "dataset/contributor_list.h"
#include "dataset/credits.h"
#include "main/parse_item_page.h"
#include "platform/platform.h"
#include "platform/platform_fake.h"
#include "text/text.h"

namespace orvel {
namespace {

constexpr std::size_t kDictionaryBytes = 5 * 1024 * 1024;
constexpr std::size_t kPageBytes = 200 * 1024;

std::string Number(int value, int width) {
  std::string digits = std::to_string(value);
  return std::string(width - std::min<int>(width, digits.size()), '0') + digits;
}

// About 5 MB of entries "|名前NNNNNN|名前 NNNNNN|ﾅﾏｴ|作家|", with the three
// names of the benchmark's contributor line at the very end, so every look-up
// searches the whole text.
std::string AuthorDictionary() {
  std::string dictionary;
  dictionary.reserve(kDictionaryBytes + 256);
  for (int i = 0; dictionary.size() < kDictionaryBytes; ++i) {
    dictionary += "|" + Text("名前"_sj) + Number(i, 6) + "|" + Text("名前 "_sj) +
                  Number(i, 6) + "|" + Text("ﾅﾏｴ|作家|"_sj) + "\r\n";
  }
  dictionary += Text("|青木[監修]|青木 一郎|ｱｵｷ|監修者|\r\n"_sj);
  dictionary += Text("|赤井|赤井 二郎|ｱｶｲ||\r\n"_sj);
  dictionary += Text("|緑川|緑川 三郎|ﾐﾄﾞﾘｶﾜ||\r\n"_sj);
  return dictionary;
}

// One code's work on contributors: the dictionary read again from the file,
// one contributor line classified and stored.
void BM_ReReadAuthorDictionaryPerCode(benchmark::State& state) {
  Platform& platform = Platform::Default();
  char folder_template[] = "/tmp/orvel-bench-XXXXXX";
  if (mkdtemp(folder_template) == nullptr) {
    state.SkipWithError("no temporary folder");
    return;
  }
  const std::string work_folder = std::string(folder_template) + "/";
  const std::string dictionary = AuthorDictionary();
  if (!platform.WriteWholeFile(work_folder + "AuthDB.dat", dictionary)) {
    state.SkipWithError("cannot write AuthDB.dat");
    return;
  }
  const Text line = Text("青木 監修／赤井 著／緑川 イラスト"_sj);
  for (auto _ : state) {
    ClearBase();
    LoadAuthDB(platform, work_folder);
    ContributorListScope scope;
    ClassifyCredits(line, "／"_sj, "／"_sj, "");
    StoreContributors(platform, true, true, true, "");
    benchmark::DoNotOptimize(BaseField(6).data());
  }
  if (BaseField(6) != Text("青木 一郎"_sj) || BaseField(10) != Text("緑川 三郎"_sj)) {
    state.SkipWithError("the dictionary was not used");
  }
  FreeAuthDB();
  platform.RemoveFile(work_folder + "AuthDB.dat");
  std::remove(folder_template);
  state.counters["dictionary_MB"] = static_cast<double>(dictionary.size()) / 1e6;
  state.SetLabel("time per code");
}
BENCHMARK(BM_ReReadAuthorDictionaryPerCode)->Unit(benchmark::kMillisecond);

// Shift-JIS to the EUC-JP bytes that the store serves.
std::string ToEucJp(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    unsigned char lead = static_cast<unsigned char>(text[i]);
    if (lead >= 0xA1 && lead <= 0xDF) {
      out += '\x8E';
      out += static_cast<char>(lead);
    } else if (IsLeadByte(lead) && i + 1 < text.size()) {
      unsigned char trail = static_cast<unsigned char>(text[++i]);
      int row = (lead < 0xA0 ? lead - 0x70 : lead - 0xB0) * 2 - 1;
      int cell = trail >= 0x80 ? trail - 0x20 : trail - 0x1F;
      if (trail >= 0x9F) {
        ++row;
        cell = trail - 0x7E;
      }
      out += static_cast<char>(row | 0x80);
      out += static_cast<char>(cell | 0x80);
    } else {
      out += static_cast<char>(lead);
    }
  }
  return out;
}

// An item page of about 200 KB: the heading, a description section whose
// contributor line names 20 people with their roles, the details list,
// notes blocks and a long list of related items.
std::string ItemPage() {
  static constexpr std::string_view kRoles[] = {
      " 著"_sj, "（原作）"_sj, " 作画"_sj, " イラスト"_sj, " 監修"_sj,
      " 翻訳"_sj, " 編"_sj, " その他"_sj, " 解説"_sj, " キャラクター原案"_sj};
  Text credits;
  for (int i = 0; i < 20; ++i) {
    if (i > 0) credits += ", ";
    credits += "<a href=\"https://books.example/search?author=" + std::to_string(i) +
               "\">" + Text("著者名"_sj) + Number(i, 2) + "</a>" + Text(kRoles[i % 10]);
  }
  Text page = Text(
      "<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"EUC-JP\">\n"
      "<title>星降る港の記録（3） | サンプル書店</title>\n</head>\n<body>\n"
      "<dt><a href=\"//images.books.example/book/cabinet/0012/1.jpg\" onclick=\"z(this)\" "
      "class=\"photo\"><img src=\"x.jpg\"></a></dt>\n"
      "<h1 itemprop=\"name\">星降る港の記録（3）<span class=\"subTitle\">（限定版）</span></h1>\n"
      "<span class=\"price\" itemprop=\"price\" content=\"792\">792円</span>\n"
      "<div id=\"productDetailedDescription\" class=\"item-c-description\">\n"
      "<ul>\n\t<li>2025年02月14日</li>\n</ul>\n"_sj);
  page += "<span class=\"item-c-author\">" + credits + "</span><br>\n";
  page += Text(
      "<span><a href=\"/p/1\" class=\"bpbls\" onclick=\"t(1)\">港町書房</a></span>\n</div>\n"
      "<li><span class=\"categoryName\">サイズ</span><span class=\"categoryValue\">Ｂ６</span></li>\n"
      "<li><span class=\"categoryName\">ページ数</span><span class=\"categoryValue\">208p</span></li>\n"
      "<li><span class=\"categoryName\">発売日</span><span class=\"categoryValue\">2025年02月14日</span></li>\n"
      "<span class=\"item-c-label\">港町コミックス</span>\n"
      "<p><b>【内容情報】</b></p>\n<p>ORV-0042</p>\n"
      "<table border=\"0\" bgcolor=\"#EEEECC\"><tr><td><dl><dt>特典</dt><dd>ポストカード</dd></dl></td></tr></table>\n"_sj);
  for (int i = 0; page.size() < kPageBytes; ++i) {
    page += "<li class=\"related\"><a href=\"https://books.example/item/" + Number(i, 6) +
            "\">" + Text("関連する本のタイトル　第"_sj) + std::to_string(i) +
            Text("巻</a><span class=\"related-price\">660円（税込）</span></li>\n"_sj);
  }
  page += "</body>\n</html>\n";
  return ToEucJp(page);
}

void BM_ParseItemPageWithTwentyContributors(benchmark::State& state) {
  FakePlatform platform;
  const std::string page_path = "/work/Temp.html";
  platform.files[page_path] = ItemPage();
  const std::string cover_marker = "<dt><a href=\"//images.books.example/book/cabinet/";
  for (auto _ : state) {
    ClearBase();
    benchmark::DoNotOptimize(ParseItemPage(platform, page_path, cover_marker));
  }
  if (BaseField(2).empty() || BaseField(10).empty()) {
    state.SkipWithError("the page was not parsed");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(platform.files[page_path].size()));
  state.counters["page_KB"] = static_cast<double>(platform.files[page_path].size()) / 1024;
}
BENCHMARK(BM_ParseItemPageWithTwentyContributors)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orvel
