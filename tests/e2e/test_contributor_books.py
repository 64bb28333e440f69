"""The contributor books of the sample store through korvane.exe: every
column of each book's output line with the sample author dictionary, the
same books without it, and an author dictionary that cannot be read."""

import os
import shutil
import subprocess
import unittest

from book_lines import UNEXPECTED_ERROR, UNREADABLE, BookLinesTestCase, columns
from harness import PYTHON, REPOSITORY, run_korvane

WORK_FIXTURE = os.path.join(REPOSITORY, "tests", "sample_store", "work")
AUTHOR_DICTIONARY = os.path.join(WORK_FIXTURE, "AuthDB.dat")
# One line a book, in the order of BOOKS: the output line decoded from
# Shift-JIS (Windows code page 932), {{STORE}} for the store's host.
EXPECTED_LINES = os.path.join(os.path.dirname(os.path.abspath(__file__)),
                              "contributor_books.expected")

# Code, item page, and what the page's description section shows.
BOOKS = [
    ("9784999000012", "contributors-comic"),        # 原作, 作画, キャラクター原案, 他; two publisher links
    ("9784999000029", "contributors-novel"),        # 著, 翻訳, 解説, イラスト; ruled block
    ("9784999000036", "contributors-anthology"),    # 編, 画［…］, 監修他, ￥, その他, ・, ほか
    ("4999900000424", "contributors-disc"),         # 監修, 脚本; content information, running time
    ("9784999000043", "contributors-picture-book"),  # one contributor: field 8 from the text
]
CODES = [code for code, _ in BOOKS]

class ContributorBooksTest(BookLinesTestCase):
    BOOKS = BOOKS
    EXPECTED_LINES = EXPECTED_LINES

    def test_every_column_of_each_book(self):
        shutil.copy(AUTHOR_DICTIONARY, self.work)
        self.assert_every_line_as_expected(self.run_codes(CODES))

    def test_without_the_author_dictionary_names_stay_as_classified(self):
        lines = self.run_codes(CODES)
        # Columns 6 to 10 and 66 are fields 6 to 10 and 64.
        contributor_columns = [5, 6, 7, 8, 9, 65]
        wanted = {
            "9784999000012": ["霧島 蒼", "", "月森 灯", "", "星野ひかり [キャラクター原案]", ""],
            "9784999000029": ["エマ・ロウランド", "", "青柳 澄 [翻訳]", "", "白石 湊 [解説]$$KOU", ""],
            "9784999000036": ["山科千里 [編]", "", "夜空 すばる", "表紙",
                              "桐生 朔 [監修他]$$DJ\\YENその他$$夏目 凪", ""],
            "4999900000424": ["黒江 透 [監修]", "", "ミナト・レイ [脚本]", "", "岬 ゆう", ""],
            "9784999000043": ["ながいながい なまえの さっか", "", "ながいながい なまえ", "", "", ""],
        }
        expected = self.expected_lines()
        for (code, _), line, with_dictionary in zip(BOOKS, lines, expected):
            with self.subTest(code=code):
                got = columns(line)
                self.assertEqual([got[i] for i in contributor_columns], wanted[code])
                # Every other column is as with the dictionary.
                others = [i for i in range(68) if i not in contributor_columns]
                full = columns(with_dictionary)
                self.assertEqual([got[i] for i in others], [full[i] for i in others])

    def test_an_unreadable_author_dictionary_ends_the_run_naming_it(self):
        os.mkdir(os.path.join(self.work, "AuthDB.dat"))  # exists, cannot be read
        run = run_korvane(CODES, self.work, store=self.store, setting_ini=None)
        self.assertEqual(run.returncode, 0, run.stderr)
        self.assertEqual(run.messages, [UNEXPECTED_ERROR + "\r\n" + self.work + "AuthDB.dat" +
                                        UNREADABLE])
        self.assertEqual(run.output, b"")  # saved, with the lines collected before

    def test_the_sample_author_dictionary_is_made_from_its_source(self):
        script = os.path.join(WORK_FIXTURE, "make_author_dictionary.py")
        finished = subprocess.run([PYTHON, script, "--check"], capture_output=True, text=True)
        self.assertEqual(finished.returncode, 0, finished.stderr)


if __name__ == "__main__":
    unittest.main()
