"""The fields that the batch run itself gives a book's line: the code as
listed, the combined codes' classification and price, the settings defaults,
and a stop that keeps the lines collected."""

import shutil
import tempfile
import unittest

from harness import SampleStore, run_korvane

BOOK_A = "9784000000017"  # result pages that link to the placeholder item page
BOOK_B = "9784000000109"
ISBN_10 = "4000000101"


def columns(line):
    """The 68 columns of one output line (no quoted commas in these books)."""
    items = line.split(",")
    assert len(items) == 68, line
    return items


class SpineLinesTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.store = SampleStore().__enter__()
        cls.addClassCleanup(cls.store.__exit__, None, None, None)

    def setUp(self):
        self.store.reset()
        self.work = tempfile.mkdtemp(prefix="e2e-work-")
        self.addCleanup(shutil.rmtree, self.work, True)

    def lines(self, codes, **options):
        run = run_korvane(codes, self.work, store=self.store, **options)
        self.assertEqual(run.returncode, 0, run.stderr)
        self.assertIsNotNone(run.output, run.stderr)
        return [columns(line) for line in run.output_text.split("\r\n")[:-1]]

    def test_code_fields(self):
        # (entry, column 1, column 11, column 22: fields 1, 11 and 21)
        cases = [
            ("978-4-00-000001-7", "978-4-00-000001-7", "", ""),  # kept as listed
            (ISBN_10 + "0193" + "0600", ISBN_10, "0193", "600"),
            (ISBN_10 + "0193" + "0060", ISBN_10, "0193", "060"),
            (ISBN_10 + "0193" + "0000", ISBN_10, "0193", ""),
            (ISBN_10 + "0193" + "1200", ISBN_10, "0193", "1200"),
            # Characters 21 to 25 are the price, 26 the bar code's check digit.
            (BOOK_A + "192" + "0193" + "00600" + "7", BOOK_A, "0193", "600"),
        ]
        for entry, code, classification, price in cases:
            with self.subTest(entry=entry):
                (line,) = self.lines([entry])
                self.assertEqual((line[0], line[10], line[21]), (code, classification, price))

    def test_settings_defaults(self):
        # (Setting.ini, columns 21, 23, 25 and 47: fields 20, 22, 24 and 45)
        cases = [
            (None, ("購入", "0", "0", "既読")),
            ("[Entry]\r\nPurachaseSet=譲渡\r\nTaxSet=5\r\nReadSet=未読\r\n",
             ("譲渡", "5", "5", "未読")),
            ("[entry]\r\nTaxSet = 1\r\n", ("購入", "1", "1", "既読")),
            ("[Other]\r\nTaxSet=7\r\n", ("購入", "0", "0", "既読")),
        ]
        for setting_ini, expected in cases:
            with self.subTest(setting_ini=setting_ini):
                (line,) = self.lines([BOOK_A], setting_ini=setting_ini)
                got = tuple(line[i].encode("cp932").decode("cp932") for i in (20, 22, 24, 46))
                self.assertEqual(got, expected)

    def test_stop_keeps_the_lines_collected(self):
        # The stop is requested while the second code is checked; the run
        # ends before the third.
        lines = self.lines([BOOK_A, BOOK_B, BOOK_A], args=["--stop-at", "2"])
        self.assertEqual([line[0] for line in lines], [BOOK_A, BOOK_B])
        searches = [t for t in self.store.targets() if t.startswith("/search")]
        self.assertEqual(len(searches), 2)


if __name__ == "__main__":
    unittest.main()
