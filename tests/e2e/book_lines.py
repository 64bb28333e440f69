"""What the sample-book modules share: a test case that runs the books'
codes against a store of its own and holds each output line to its fixture,
and the columns of an output line."""

import csv
import io
import os
import shutil
import tempfile
import unittest

from harness import SampleStore, run_korvane

UNEXPECTED_ERROR = "処理中にエラーが発生しました"
UNREADABLE = " を読み込めません"


def columns(line):
    """The columns of one output line (Shift-JIS bytes)."""
    return next(csv.reader(io.StringIO(line.decode("cp932"))))


class BookLinesTestCase(unittest.TestCase):
    BOOKS = []  # (code, item page), in the order of the fixture's lines
    # One line a book: the output line decoded from Shift-JIS (Windows code
    # page 932), {{STORE}} for the store's host.
    EXPECTED_LINES = None

    @classmethod
    def setUpClass(cls):
        cls.store = SampleStore().__enter__()
        cls.addClassCleanup(cls.store.__exit__, None, None, None)

    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="e2e-work-") + os.sep
        self.addCleanup(shutil.rmtree, self.work, True)

    def codes(self):
        return [code for code, _ in self.BOOKS]

    def expected_lines(self):
        with open(self.EXPECTED_LINES, encoding="utf-8") as file:
            return [line.replace("{{STORE}}", self.store.host).encode("cp932")
                    for line in file.read().splitlines()]

    def run_codes(self, codes):
        """The output lines of a run that showed no message."""
        run = run_korvane(codes, self.work, store=self.store, setting_ini=None)
        self.assertEqual(run.returncode, 0, run.stderr)
        self.assertEqual(run.messages, [])
        self.assertIsNotNone(run.output)
        return run.output.split(b"\r\n")[:-1]

    def assert_every_line_as_expected(self, lines):
        expected = self.expected_lines()
        self.assertEqual(len(lines), len(self.BOOKS))
        for (code, page), line, wanted in zip(self.BOOKS, lines, expected):
            with self.subTest(code=code, page=page):
                self.assertEqual(line.decode("cp932"), wanted.decode("cp932"))
                self.assertEqual(line, wanted)
                self.assertEqual(len(columns(line)), 68)
