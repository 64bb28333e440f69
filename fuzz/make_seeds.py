#!/usr/bin/python3
"""Writes the seed corpus (fuzz/corpus/<target>/) and the marker dictionary
(fuzz/dictionaries/<target>.dict) of every fuzz target.

Seeds come from the sample store's pages (tests/sample_store/pages, served
there as EUC-JP) and from the small texts below. Texts are written here in
UTF-8 and stored as the bytes the target reads: EUC-JP for pages, Shift-JIS
(code page 932) for everything else. A seed of several sections joins them
with the section break of fuzz/fuzz_support.h.

    python3 fuzz/make_seeds.py          # rewrite corpus and dictionaries
"""

import os
import re
import shutil

HERE = os.path.dirname(os.path.abspath(__file__))
TOP = os.path.dirname(HERE)
PAGES = os.path.join(TOP, "tests", "sample_store", "pages")
WORK = os.path.join(TOP, "tests", "sample_store", "work")
SECTION_BREAK = b"\0--8<--\0"
PLACEHOLDERS = {"{{STORE}}": "books.example", "{{IMAGES}}": "images.books.example"}
COVER_MARKER = '<dt><a href="//images.books.example/book/cabinet/'


def sj(text):
    return text.encode("cp932")


def euc(text):
    return text.encode("euc_jp")


def sections(*parts):
    return SECTION_BREAK.join(parts)


def sample_page(folder, name):
    """A sample store page as the store serves it."""
    path = os.path.join(PAGES, folder, name)
    with open(path, "rb") as file:
        raw = file.read()
    if name.endswith(".html"):
        raw = raw.decode("utf-8")
        for placeholder, value in PLACEHOLDERS.items():
            raw = raw.replace(placeholder, value)
        return euc(raw)
    for placeholder, value in PLACEHOLDERS.items():
        raw = raw.replace(placeholder.encode(), value.encode())
    return raw


def sample_dictionaries():
    """AuthDB.dat, PubDB.dat and LabelsDB.dat of the sample work folder, as
    far as they exist."""
    found = []
    for name in ("AuthDB.dat", "PubDB.dat", "LabelsDB.dat"):
        path = os.path.join(WORK, name)
        if os.path.exists(path):
            with open(path, "rb") as file:
                found.append(file.read())
        else:
            found.append(b"")
    return found


def sample_pages(folder, names):
    """The named sample pages that exist (others are still being written)."""
    found = []
    for name in names:
        if os.path.exists(os.path.join(PAGES, folder, name)):
            found.append((name.rsplit(".", 1)[0], sample_page(folder, name)))
    return found


# An item page that triggers every rule of the parser once.
EVERY_RULE_PAGE = """<!DOCTYPE html>
<html lang="ja">
<head><meta charset="EUC-JP"><title>見本の本</title></head>
<body>
<h1 itemprop="name">【入荷予約】 見本の本（3）　第二部<br>続<span class="subTitle">（新装版）</span></h1>
<div class="item-c-price"><span class="price" itemprop="price" content="1100">1,100円</span></div>
<div id="productDetailedDescription" class="item-c-description">
<ul>
	<li>2008年5月20日</li>
</ul>
<span class="item-c-author"><a href="/a?1">見本 太郎</a> 著, <a href="/a?2">絵本 花子</a> イラスト, <a href="/a?3">訳者 一</a> 翻訳</span>
<span class="item-c-maker-magazine"><a href="/p?1" onclick="track(1)">見本出版</a></span>
</div>
<dl><dt><a href="//images.books.example/book/cabinet/0001/0001.jpg" onclick="zoom()" class="photo"><img></a></dt></dl>
<ul class="item-c-details">
<li><span class="categoryName">サイズ</span><span class="categoryValue">文庫</span></li>
<li><span class="categoryName">レーベル</span><span class="item-c-label"><a href="/l?1">ミホン・ブンコ</a></span></li>
<li><span class="categoryName">ページ数</span><span class="categoryValue">２５６p</span></li>
<li><span class="categoryName">発売日</span><span class="categoryValue">2008/05/20</span></li>
</ul>
<p>【内容情報】</p>
<p>見本の内容 &amp;lt;b&amp;gt;太字&amp;lt;/b&amp;gt; &quot;引用&quot;</p>
<b>収録時間</b>：
<p>120分</p>
<p>ディスク枚数：</p>
<p>2枚</p>
<font color="#ffffff">----------</font>
	特記事項<br>なし
<hr size="1" noshade>
<table bgcolor="#EEEECC"><tr><td><dl><dt>仕様<dd>見本</dl>
</td></tr></table>
<div id="footer">&copy; サンプル書店</div>
</body>
</html>
"""

AUTHOR_DICTIONARY = "|見本太郎|見本 太郎|みほん たろう|著者の覚え書き|\r\n|絵本花子|絵本 花子||\r\n"
PUBLISHER_DICTIONARY = "|00|見本出版社\r\n|12|別の出版社\r\n"
LABEL_DICTIONARY = "|見本出版社|ﾐﾎﾝﾌﾞﾝｺ|見本文庫\r\n||ﾐﾎﾝﾌﾞﾝｺ|見本文庫（無印）\r\n"

RESULT_PAGE = """<html><body>
<div class="search-c-item-text"><a href="https://books.example/item/every-rule?l-id=search-c-item-text-01">見本の本</a></div>
</body></html>
"""

# Markers of the item page parser and its rules (one dictionary for the
# parser and the link search).
PAGE_MARKERS = [
    '<h1 itemprop="name">', '<span class="subTitle">', '</span></h1>', "<span",
    '<div id="productDetailedDescription', "</div>", "<li>", "</li>", "<br>",
    "item-c-author", "bpbls", "item-c-maker-magazine", ')">', "</a>",
    "サイズ", "item-c-label", "ページ数", "ディスク枚数：", "枚", "発行年月", ">発売日<",
    'categoryValue">', "</span>", 'itemprop="price"', '">', "円</span>",
    COVER_MARKER, 'class="photo"', '<a href="//', '" onclick=', "noimage",
    "【内容情報】", '<b>収録時間</b>：', '<font color="#ffffff">----------</font>',
    ' bgcolor="#EEEECC">', " noshade>", "</table>", "<dt>", "<dd>", "<b>", "</b>",
    "【入荷予約】 ", "&amp;", "&quot;", "&lt;", "&gt;", "&nbsp;", "<!--", "-->",
    "　", "（", "）", "／", "￥", "・", "年", "月", "日", "\r\n",
]
CREDIT_MARKERS = [
    "／", "￥", "（", "）", "！", "〔", "〕", "：", "　", "・", "他", "ほか", "［", "］",
    "著者", "編・著", "編著", "著 ", "著", "漫画", "画 ", " 画", "イラスト/作画", "作画",
    "小説", "(文)", "(著)", "【著】", "原作者", "原作", "作 ", " 作", "イラスト", "イ ",
    "(画)", "(絵)", "執筆", "脚本", "シナリオ", "キャラクター原案", "ストーリー原案",
    "原案", "案 ", "監修他", "監修", "監訳", "翻訳", "訳 ", "訳", "(訳)", "解説",
    "責任編集", "構成・編集", "編集 ", "編集", "編 ", " 編", "(編)", " 編［", "その他",
    "[監修]", "|", "|\r\n", "<b>", "&lt;",
]
DATE_MARKERS = ["年", "月", "日", ".", "/", "Dummy", "+", "-", "00", "19", "20",
                "２００８", "０５", "平成", "下旬", "未定", " ", "\t"]
TITLE_MARKERS = ['<h1 itemprop="name">', '<span class="subTitle">', "</span></h1>",
                 "<span", "<b>", "</b>", "<br>", "【入荷予約】 ", "　", "（", "）",
                 "３", "0", "<!--", "-->", "&lt;", "&gt;", "&nbsp;", "\t"]
MARKUP_MARKERS = ["<", ">", "<!--", "-->", "＜!--", "--＞", "＜", "＞", "&lt;", "&gt;",
                  "&nbsp;", "&amp;", "<b>", "</b>", b"\x81"]
INI_MARKERS = ["[", "]", "=", "\r\n", "\n", "\r", "[Entry]", "PurachaseSet", "TaxSet",
               "ReadSet", '"', "'", " ", "\t", "ゾ", "ア"]
LINE_MARKERS = [",", '"', "\r\n", "\r", "\n", " ", "　", "，", "”", "$$", "\t"]


def dictionary_entry(value):
    """One dictionary line: printable ASCII as it is, every byte of a
    double-byte character and every other byte as \\xNN."""
    escaped = ""
    second_byte = False
    for byte in value:
        if second_byte or byte >= 0x80 or byte < 0x20 or byte == 0x7F:
            escaped += "\\x%02X" % byte
            second_byte = not second_byte and (0x81 <= byte <= 0x9F or 0xE0 <= byte <= 0xFC)
        elif byte == 0x22 or byte == 0x5C:
            escaped += "\\" + chr(byte)
        else:
            escaped += chr(byte)
    return '"%s"' % escaped


def write_dictionary(target, markers, encode=sj):
    path = os.path.join(HERE, "dictionaries", target + ".dict")
    lines = ["# Markers of %s, as the bytes it reads." % target.replace("_", " ")]
    seen = set()
    for marker in markers:
        value = marker if isinstance(marker, bytes) else encode(marker)
        if value in seen:
            continue
        seen.add(value)
        lines.append(dictionary_entry(value))
    lines.append(dictionary_entry(SECTION_BREAK))
    with open(path, "w", newline="\n") as file:
        file.write("\n".join(lines) + "\n")


def write_corpus(target, seeds):
    folder = os.path.join(HERE, "corpus", target)
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    for name, data in seeds:
        with open(os.path.join(folder, re.sub(r"[^A-Za-z0-9._-]", "-", name)), "wb") as file:
            file.write(data)


def main():
    os.makedirs(os.path.join(HERE, "dictionaries"), exist_ok=True)
    item_pages = sample_pages("item", [
        "contributors-novel.html", "contributors-comic.html", "book-disc.html",
        "book-two-prices.html", "book-noimage.html", "placeholder.html",
        "book-hostile-encoding.bin", "book-hostile-zero-bytes.bin"])
    search_pages = sample_pages("search", [
        "9784000000017.html", "9784000000062.bin", "_none.html"])
    dictionaries = sample_dictionaries()
    # Sample books whose publisher and label the sample dictionaries hold.
    books_with_work_folder = [
        (name, code, page) for (name, page), code in zip(
            sample_pages("item", ["book-novel-label.html", "book-comic-label.html"]),
            [b"9784310120849", b"9784778312190"])]

    write_corpus("parse_item_page_fuzzer", [
        ("every-rule-with-dictionaries",
         sections(euc(EVERY_RULE_PAGE), sj(AUTHOR_DICTIONARY), sj(PUBLISHER_DICTIONARY),
                  sj(LABEL_DICTIONARY), b"9784000000017", b"\x01")),
        ("every-rule-stopped", sections(euc(EVERY_RULE_PAGE), b"", b"", b"", b"", b"\x02")),
    ] + [("sample-" + name, page) for name, page in item_pages]
      + [("sample-%s-with-work-folder" % name, sections(page, *dictionaries, code, b""))
         for name, code, page in books_with_work_folder])
    write_dictionary("parse_item_page_fuzzer", PAGE_MARKERS, euc)

    write_corpus("result_link_fuzzer", [
        ("every-rule", sections(euc(RESULT_PAGE), euc(EVERY_RULE_PAGE), b"4000000101",
                                sj("[Entry]\r\nPurachaseSet=予約\r\nTaxSet=1\r\n"))),
        ("combined-code", sections(euc(RESULT_PAGE), euc(EVERY_RULE_PAGE),
                                   b"97840000000171920000001100")),
    ] + [("sample-" + name, sections(page, item_pages[0][1] if item_pages else b""))
         for name, page in search_pages])
    write_dictionary("result_link_fuzzer",
                     ["l-id=search-c-item-text-01", '<a href="', '">', "https://",
                      "http://", "file://"] + PAGE_MARKERS, euc)

    write_corpus("euc_jp_fuzzer", [
        ("worked-example", b"\xC6\xFC\xCB\xDC\x8E\xB1\x41"),
        ("other-branches", b"\xA5\xE0\xDF\xA1\r\n"),
        ("jis-x-0212", b"\x8F\xB0\xA1A"),
        ("cut-pair", b"AB\xC6"),
    ] + [("sample-" + name, page) for name, page in (item_pages[:1] + search_pages[:1])])
    write_dictionary("euc_jp_fuzzer", [b"\x8E", b"\x8F", b"\x80", b"\xFF", b"\xA1\xA1",
                                       b"\xFE\xFE", b"\r\n", b"\xC6\xFC"])

    write_corpus("strip_markup_fuzzer", [
        (name, sj(text)) for name, text in [
            ("bold", "<b>abc</b>"), ("inside-tag", 'x">Title</a>'),
            ("comment", "A<!-- c -->B"), ("entity", "1 &lt; 2 &gt; 3&nbsp;4 &amp;lt;"),
            ("stray-close", "a > b"), ("cut-tag", "a<b"), ("lone-comment-end", "A-->B"),
            ("protected-forms", "＜!--x--＞ <!-->"),
            ("heading", '<h1 itemprop="name">見本の本<span class="subTitle">（新装版）</span></h1>'),
        ]])
    write_dictionary("strip_markup_fuzzer", MARKUP_MARKERS)

    write_corpus("separated_item_fuzzer", [
        ("plain", b"|a|b|c"), ("trailing", b"|a|b|"),
        ("second-byte", b"|" + sj("ポ|x")),
        ("dictionary-line", b"|" + sj("見本太郎|見本 太郎|みほん|メモ|")),
        ("other-separator", b"/" + sj("ソ/表/x")),
    ])
    write_dictionary("separated_item_fuzzer", ["|", "ポ", "ソ", "表", "\r\n"])

    write_corpus("release_date_fuzzer", [
        (name, sj(text)) for name, text in [
            ("japanese", "2008年5月20日"), ("year-month", "08年05月"),
            ("dotted", "2008.05.20"), ("slashed", "2008/5"), ("eight-digits", "20080520"),
            ("six-digits", "080520"), ("era", "平成20年5月"), ("full-width", "２００８年５月２０日"),
            ("late", "2008年5月下旬"), ("undecided", "未定"), ("short-dotted", "1.5"),
            ("signed", "+0008年1月"),
        ]])
    write_dictionary("release_date_fuzzer", DATE_MARKERS)

    write_corpus("title_heading_fuzzer", [
        (name, sj('<h1 itemprop="name">' + text)) for name, text in [
            ("volume-subtitle", 'ABC（3）<span class="subTitle">（新装版）</span></h1>'),
            ("second-part", "ABC（3）　DEF</h1>"),
            ("no-volume", "ABC（上）</h1>"),
            ("digits-outside", "ABC 2（3）</h1>"),
            ("preorder-break", "【入荷予約】 ABC<br>DEF<b>G</b>\t</h1>"),
            ("huge-volume", "ABC（99999999999）</h1>"),
        ]])
    write_dictionary("title_heading_fuzzer", TITLE_MARKERS)

    write_corpus("ini_reader_fuzzer", [
        ("settings", sections(sj("[Entry]\r\nPurachaseSet=予約\r\nTaxSet = 1 \r\nReadSet=\"既読\"\r\n"),
                              b"Entry", b"PurachaseSet", sj("購入"))),
        ("other-case", sections(b"[entry]\nreadset='x'\n[Entry]\nReadSet=y\n", b"Entry",
                                b"ReadSet", b"")),
        ("second-byte-bracket", sections(sj("[ゾ]\r\nア=イ\r\n"), sj("ゾ"), sj("ア"), b"d")),
        ("missing", sections(b"", b"Entry", b"TaxSet", b"0")),
    ])
    write_dictionary("ini_reader_fuzzer", INI_MARKERS)

    fields = [b""] * 66
    fields[0] = b"9784000000017"
    fields[1] = sj("見本, \"本\"")
    fields[3] = sj("二行\r\n目")
    fields[6] = sj("ﾐﾎﾝ　ﾀﾛｳ")
    fields[8] = sj("ＡＢ　Ｃ")
    fields[35] = sj("特記事項\r\nなし")
    write_corpus("output_line_fuzzer", [
        ("empty-record", b""),
        ("escapes", sections(*fields)),
    ])
    write_dictionary("output_line_fuzzer", LINE_MARKERS)

    write_corpus("credits_fuzzer", [
        ("novel", sections(sj("エマ・ロウランド 著／青柳 澄 翻訳／白石 湊 解説／ＫＯＵ イラスト"),
                           sj(AUTHOR_DICTIONARY))),
        ("comic", sections(sj("見本 太郎（原作）／絵本 花子（漫画）／他"))),
        ("sample-dictionary", sections(sj("霧島 蒼 原作／星野 ひかり キャラクター原案／湊 玲 脚本"),
                                       dictionaries[0])),
        ("bracket", sections(sj("見本太郎［みほん］ [監修]／・点・"),
                             sj("|見本太郎[監修]|見本 太郎|二|三|\r\n|x|y"))),
        ("yen-and-markup", sections(sj("A￥B <b>著</b>／C&lt;D"))),
        ("sub-separator", sections(sj("A、B 編／C"), b"", sj("／"), sj("／"), sj("、"))),
    ])
    write_dictionary("credits_fuzzer", CREDIT_MARKERS)


if __name__ == "__main__":
    main()
