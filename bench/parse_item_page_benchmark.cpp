// ParseItemPage on a store item page of about 200 KB: the page clean-up, the
// rule table over every line, and the description and notes rules.
#include <benchmark/benchmark.h>

#include <string>

#include "common/book_record.h"
#include "main/parse_item_page.h"
#include "platform/platform_fake.h"
#include "tests/unit/euc_jp_page.h"
#include "text/text.h"

namespace orvel {
namespace {

constexpr const char* kPagePath = "/work/Temp.html";
constexpr std::string_view kCoverMarker =
    "<dt><a href=\"//images.books.example/book/cabinet/";
constexpr std::size_t kPageSize = 200 * 1024;

// What a store's item page holds around the book: navigation, scripts, the
// item itself, and long lists of related items, as Shift-JIS text.
std::string ItemPageText() {
  std::string page(
      "<!DOCTYPE html>\n<html lang=\"ja\">\n<head>\n<meta charset=\"EUC-JP\">\n"
      "<title>夜明けの表通り | サンプル書店</title>\n"
      "<link rel=\"stylesheet\" href=\"https://books.example/css/item.css?v=20240801\">\n"
      "<script>window.dataLayer = window.dataLayer || []; dataLayer.push({\"page\": "
      "\"item\", \"code\": \"9784310120849\", \"genre\": [\"001\", \"004\", \"017\"]});"
      "</script>\n</head>\n<body>\n"
      "<div id=\"header\"><a href=\"https://books.example/\">サンプル書店</a>\n"
      "<form action=\"https://books.example/search\"><input type=\"text\" name=\"sitem\" "
      "placeholder=\"キーワード・ISBNで検索\"></form></div>\n"
      "<ul class=\"breadcrumb\"><li><a href=\"/\">本</a></li><li><a href=\"/g/001\">"
      "小説・エッセイ</a></li><li><a href=\"/g/004\">日本の小説</a></li></ul>\n"
      "<div class=\"item-c-image\">\n<dl>\n"
      "\t<dt><a href=\"//images.books.example/book/cabinet/0849/9784310120849.jpg\" "
      "onclick=\"return openPhoto(this);\" class=\"photo\"><img src=\"//images.books."
      "example/book/cabinet/0849/9784310120849_s.jpg\" alt=\"\"></a></dt>\n"
      "\t<dd>画像をクリックすると拡大します</dd>\n</dl>\n</div>\n"
      "<h1 itemprop=\"name\">夜明けの表通り（2）<span class=\"subTitle\">（書き下ろし）"
      "</span></h1>\n"
      "<div class=\"item-c-price\"><span class=\"price\" itemprop=\"price\" "
      "content=\"880\">880円</span>（税込）</div>\n"
      "<div id=\"productDetailedDescription\" class=\"item-c-description\">\n<ul>\n"
      "\t<li>2023年11月08日</li>\n</ul>\n"
      "<span class=\"item-c-author\"><a href=\"/search?author=31\">宮坂 朔</a> 著, "
      "<a href=\"/search?author=32\">七瀬 ゆかり</a> イラスト</span>\n"
      "<span class=\"item-c-maker-magazine\"><a href=\"/search?publisher=31\" "
      "onclick=\"track(31)\">能登表現社</a></span>\n</div>\n"
      "<p class=\"item-c-label\">ポケット・ソレイユ</p>\n"
      "<ul class=\"item-c-details\">\n"
      "<li><span class=\"categoryName\">サイズ</span><span class=\"categoryValue\">"
      "文庫</span></li>\n"
      "<li><span class=\"categoryName\">ページ数</span><span class=\"categoryValue\">"
      "352p</span></li>\n"
      "<li><span class=\"categoryName\">発売日</span><span class=\"categoryValue\">"
      "2023年11月08日</span></li>\n</ul>\n"
      "<div class=\"item-c-contents\">\n<p>【内容情報】</p>\n"
      "<p>港町の古書店に届いた一通の手紙が、三十年前の夏を呼び覚ます。</p>\n</div>\n"
      "<table><tr><td bgcolor=\"#EEEECC\"><dl><dt>目次</dt><dd>第一章 潮の匂い"
      "<br>第二章 灯台へ<br>第三章 夜明け</dd></dl></td></tr>\n</table>\n"
      "<font color=\"#ffffff\">----------</font>\n\t初出：文芸誌 2019年～2021年<br>\n"
      "<hr size=\"1\" noshade>\n"_sj);
  // Related items until the page has its size.
  const std::string related_head(
      "<h2>この商品を買った人はこんな商品も買っています</h2>\n<ul class=\"related\">\n"_sj);
  const std::string related_item(
      "<li class=\"item-c-related\"><a href=\"https://books.example/item/1234567/\">"
      "<img src=\"//images.books.example/book/cabinet/4567/9784310124567_s.jpg\" "
      "alt=\"\" width=\"64\"></a>\n"
      "\t<p class=\"title\"><a href=\"https://books.example/item/1234567/\">"
      "潮騒の聞こえる町で暮らす人々の小さな物語 第三集</a></p>\n"
      "\t<p class=\"author\">柚木 ハル・榊 透子</p><p class=\"cost\">1,045円（税込）</p>"
      "<p class=\"stars\">★★★★☆ (128件)</p></li>\n"_sj);
  while (page.size() < kPageSize) {
    page += related_head;
    for (int k = 0; k < 12 && page.size() < kPageSize; ++k) page += related_item;
    page += "</ul>\n";
  }
  page += "<div id=\"footer\">&copy; サンプル書店 &amp; 見本出版</div>\n</body>\n</html>\n"_sj;
  return page;
}

void BM_ParseItemPage(benchmark::State& state) {
  FakePlatform platform;
  const std::string page = ShiftJisToEucJp(ItemPageText());
  platform.files[kPagePath] = page;
  ClearBase();
  if (!ParseItemPage(platform, kPagePath, kCoverMarker) || BaseField(2).empty()) {
    state.SkipWithError("the benchmark page is not read as an item page");
    return;
  }
  for (auto _ : state) {
    ClearBase();
    bool item_page = ParseItemPage(platform, kPagePath, kCoverMarker);
    benchmark::DoNotOptimize(item_page);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(page.size()));
  state.counters["page_bytes"] = static_cast<double>(page.size());
}
BENCHMARK(BM_ParseItemPage)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace orvel
