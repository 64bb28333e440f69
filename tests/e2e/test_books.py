"""The sample books through korvane.exe and the sample store: each book's
output line byte for byte with the sample publisher and label dictionaries,
the private step, the same books without dictionaries, dictionaries that
cannot be read, and item pages no store should send."""

import os
import shutil
import subprocess
import tempfile
import unittest

from book_lines import UNEXPECTED_ERROR, UNREADABLE, BookLinesTestCase, columns
from harness import PYTHON, REPOSITORY, run_korvane

WORK_FIXTURE = os.path.join(REPOSITORY, "tests", "sample_store", "work")
DICTIONARIES = ["PubDB.dat", "LabelsDB.dat"]
# One line a book, in the order of BOOKS: the output line decoded from
# Shift-JIS (Windows code page 932), {{STORE}} for the store's host.
EXPECTED_LINES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "books.expected")
PRIVATE_MARKER = "Temp.html.orvel_private"

# Code, item page, and what the book shows.
BOOKS = [
    ("9784778312053", "book-comic-volume"),   # "21世紀…（5）": volume 5; subtitle; PubDB 7783
    ("9784310120849", "book-novel-label"),    # label line through LabelsDB; dotted date; PubDB 310
    ("9784909876133", "book-preorder"),       # "【入荷予約】 " in bold; slashed date; page's publisher
    ("4051234568", "book-heading-break"),     # ISBN-10; "<br>" and "　" in the heading; 20220701
    ("4912345678904", "book-disc"),           # JAN: no publisher look-up although PubDB has 912345
    ("9784860213077", "book-noimage"),        # placeholder cover; year and month; PubDB 86021
    ("9784436011588", "book-two-prices"),     # first price kept; &amp; &quot; &amp;lt;
    ("9784778312190", "book-comic-label"),    # "…2丁目…（3）": volume 3; label line through LabelsDB
]
CODES = [code for code, _ in BOOKS]

class BooksTest(BookLinesTestCase):
    BOOKS = BOOKS
    EXPECTED_LINES = EXPECTED_LINES

    def copy_dictionaries(self):
        for name in DICTIONARIES:
            shutil.copy(os.path.join(WORK_FIXTURE, name), self.work)

    def assert_columns_as_expected_but(self, lines, changed):
        """Every column of each line as in the fixture except the 1-based
        columns of `changed` ({code: {column: text}}), which must hold those
        texts."""
        expected = self.expected_lines()
        self.assertEqual(len(lines), len(BOOKS))
        for (code, _), line, wanted in zip(BOOKS, lines, expected):
            with self.subTest(code=code):
                got, full = columns(line), columns(wanted)
                for column, text in changed[code].items():
                    full[column - 1] = text
                self.assertEqual(got, full)

    def test_every_column_of_each_book(self):
        self.copy_dictionaries()
        self.assert_every_line_as_expected(self.run_codes(CODES))

    def test_private_marker_file_switches_the_private_step_on(self):
        self.copy_dictionaries()
        open(os.path.join(self.work, PRIVATE_MARKER), "wb").close()
        lines = self.run_codes(CODES)
        # Columns 16 to 19 are fields 16 to 19: size, item link (emptied),
        # field 18 (empty) and the content information.
        emptied_link = {17: ""}
        self.assert_columns_as_expected_but(lines, {
            "9784778312053": emptied_link,
            "9784310120849": {16: "A6", 17: "",
                              19: "港町の古書店に届いた一通の手紙が、三十年前の夏を呼び覚ます。"},
            "9784909876133": emptied_link,
            "4051234568": {16: "A6", 17: ""},
            "4912345678904": {17: "", 19: "MNTR-2309"},
            "9784860213077": emptied_link,
            "9784436011588": emptied_link,
            "9784778312190": emptied_link,
        })

    def test_without_dictionaries_publisher_and_label_are_the_page_s(self):
        lines = self.run_codes(CODES)
        # Columns 13 and 14 are fields 13 (publisher) and 14 (label). The
        # other books' pages name the publisher as the dictionary does.
        self.assert_columns_as_expected_but(lines, {
            "9784778312053": {},
            "9784310120849": {13: "（株）能登表現社", 14: "ポケット・ソレイユ"},
            "9784909876133": {},
            "4051234568": {13: "セイラン書房"},
            "4912345678904": {},
            "9784860213077": {},
            "9784436011588": {},
            "9784778312190": {14: "弓張月・コミックス"},
        })

    def test_an_unreadable_dictionary_ends_the_run_naming_it(self):
        for name in DICTIONARIES:
            with self.subTest(dictionary=name):
                work = tempfile.mkdtemp(prefix="e2e-work-") + os.sep
                self.addCleanup(shutil.rmtree, work, True)
                os.mkdir(os.path.join(work, name))  # exists, cannot be read
                run = run_korvane(CODES, work, store=self.store, setting_ini=None)
                self.assertEqual(run.returncode, 0, run.stderr)
                self.assertEqual(run.messages, [UNEXPECTED_ERROR + "\r\n" + work + name +
                                                UNREADABLE])
                self.assertEqual(run.output, b"")  # saved, with the lines collected before

    def test_hostile_item_pages_give_their_line_or_none_and_the_run_goes_on(self):
        # book-hostile-encoding: a JIS X 0212 character (8F B0 A1) in the
        # title, lead bytes before line breaks and as the last byte;
        # book-hostile-zero-bytes: a zero byte before the title heading;
        # book-hostile-angle-brackets: 64 KiB of "<".
        lines = self.run_codes(["9784999100019", "9784999100026", "9784999100033", CODES[0]])
        self.assertEqual(len(lines), 2)
        hostile = columns(lines[0])
        self.assertEqual((hostile[0], hostile[1], hostile[21]),
                         ("9784999100019", "砂時計〓の庭", "1100"))
        # Without dictionaries too, as the page names the same publisher.
        self.assertEqual(lines[1], self.expected_lines()[0])

    def test_the_sample_dictionaries_are_made_from_their_sources(self):
        script = os.path.join(WORK_FIXTURE, "make_publisher_and_label_dictionaries.py")
        finished = subprocess.run([PYTHON, script, "--check"], capture_output=True, text=True)
        self.assertEqual(finished.returncode, 0, finished.stderr)


if __name__ == "__main__":
    unittest.main()
