"""korvane.exe and the plug-in against the sample store over HTTPS: what a
run requests, what it shows, and which files it leaves."""

import os
import shutil
import tempfile
import unittest

from harness import SampleStore, closed_port, run_korvane

DOWNLOAD_FAILED = "ダウンロード失敗"
NO_CODES = "検索するISBNを取得できませんでした"

# Codes with a result page in tests/sample_store/pages/search/.
BOOK_A = "9784000000017"  # one result, linking to the placeholder item page
BOOK_B = "9784000000109"  # the same, for a second book of a run
ISBN_10 = "4000000101"  # the same, found by its ISBN-10
NO_RESULT = "9784000000079"  # no fixture: the "no results" page
ITEM = "/item/placeholder?l-id=search-c-item-text-01"  # the link those pages hold


def search(code):
    return "/search?sitem=" + code


class BatchRunTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.store = SampleStore().__enter__()
        cls.addClassCleanup(cls.store.__exit__, None, None, None)

    def setUp(self):
        self.store.reset()
        self.work = tempfile.mkdtemp(prefix="e2e-work-")
        self.addCleanup(shutil.rmtree, self.work, True)

    def run_codes(self, codes, **options):
        options.setdefault("store", self.store)
        run = run_korvane(codes, self.work, **options)
        self.assertEqual(run.returncode, 0, run.stderr)
        return run

    def test_identity_texts_are_printed(self):
        run = self.run_codes([NO_RESULT])
        self.assertIn("Plug-in: Orvel(pemdu改) based on ZUNARO\n", run.stdout)
        self.assertIn("  entry DownlaodFunc, version 1.3.0, kind 3\n", run.stdout)
        self.assertIn("  ISBN/JAN検索 %s\n" % self.store.host, run.stdout)

    def test_an_existing_output_file_is_deleted_at_start(self):
        # (codes, output afterwards, messages)
        cases = [
            ([], None, [NO_CODES]),
            ([NO_RESULT], b"", []),
        ]
        for codes, output, messages in cases:
            with self.subTest(codes=codes):
                with open(os.path.join(self.work, "books.csv"), "wb") as file:
                    file.write(b"old,line\r\n")
                run = self.run_codes(codes)
                self.assertEqual(run.output, output)
                self.assertEqual(run.messages, messages)

    def test_which_link_a_result_page_leads_to(self):
        # (code, result page, item request that follows, messages)
        cases = [
            (NO_RESULT, "no results, no marker", None, []),
            ("9784000000024", "marker, link in single quotes", None, []),
            ("9784000000086", "marker, relative link", None, []),
            ("9784000000093", "marker, file:// link", None, []),
            (BOOK_A, "one result", ITEM, []),
            ("9784000000031", "two results: the first counts", ITEM, []),
            ("9784000000048", "CR LF inside the link: the line ends there", ITEM, []),
            ("9784000000062", "bytes that are not EUC-JP around the line", ITEM, []),
        ]
        for code, page, item, messages in cases:
            with self.subTest(page=page):
                self.store.reset()
                run = self.run_codes([code])
                expected = [search(code)] + ([item] if item else [])
                self.assertEqual(self.store.targets(), expected)
                self.assertEqual(run.messages, messages)
                if item is None:
                    self.assertEqual(run.output, b"")

    def test_a_link_with_a_space_is_not_sent_as_it_is(self):
        run = self.run_codes(["9784000000055"])
        self.assertEqual(run.messages, [DOWNLOAD_FAILED])
        for target in self.store.targets():
            self.assertNotIn(" ", target)

    def test_a_failed_download_shows_a_message_and_the_run_goes_on(self):
        after_a = [search(BOOK_B), ITEM]  # the second code's requests
        # (case, path, fault fields, extra environment, requests of the first code)
        cases = [
            ("search 500", search(BOOK_A), {"mode": "500"}, {}, [search(BOOK_A)]),
            ("search 404", search(BOOK_A), {"mode": "404"}, {}, [search(BOOK_A)]),
            ("item 500", "/item/placeholder", {"mode": "500", "times": 1}, {},
             [search(BOOK_A), ITEM]),
            ("item dropped mid-body", "/item/placeholder", {"mode": "drop", "times": 1}, {},
             [search(BOOK_A), ITEM]),
            ("search hangs, cut by the time-out", search(BOOK_A), {"mode": "hang"},
             {"ORVEL_TIMEOUT_S": "2"}, [search(BOOK_A)]),
            ("item redirected to file://", "/item/placeholder",
             {"mode": "redirect", "url": "file:///etc/hostname", "times": 1}, {},
             [search(BOOK_A), ITEM]),
        ]
        for case, path, fault, environment, first in cases:
            with self.subTest(case=case):
                self.store.reset()
                self.store.set_fault(path, **fault)
                run = self.run_codes([BOOK_A, BOOK_B], extra_env=environment)
                self.assertEqual(run.messages, [DOWNLOAD_FAILED])
                self.assertEqual(self.store.targets(), first + after_a)
                self.assertLess(run.elapsed, 8)

    def test_a_store_that_refuses_connections(self):
        run = self.run_codes([BOOK_A, BOOK_B],
                             extra_env={"ORVEL_STORE_HOST": "127.0.0.1:%d" % closed_port()})
        self.assertEqual(run.messages, [DOWNLOAD_FAILED, DOWNLOAD_FAILED])
        self.assertEqual(run.output, b"")

    def test_a_failed_download_leaves_no_page_behind(self):
        # A page from an earlier code must never be read as this code's page:
        # the scratch file holds a result page before the run.
        earlier_page = ('<div class="search-c-item-text"><a href="https://%s%s">x</a></div>\n'
                        % (self.store.host, ITEM)).encode("euc_jp")
        # (failing path, requests)
        cases = [
            (search(BOOK_A), [search(BOOK_A)]),
            ("/item/placeholder", [search(BOOK_A), ITEM]),
        ]
        scratch = os.path.join(self.work, "Temp.html")
        for path, requests in cases:
            with self.subTest(path=path):
                self.store.reset()
                self.store.set_fault(path, mode="500")
                with open(scratch, "wb") as file:
                    file.write(earlier_page)
                run = self.run_codes([BOOK_A])
                self.assertEqual(run.messages, [DOWNLOAD_FAILED])
                self.assertEqual(self.store.targets(), requests)
                self.assertFalse(os.path.exists(scratch))

    def test_codes_the_host_rejects_cause_no_request(self):
        codes = ["9784000000018", "4000000102", "", "ISBN", "97840000000170"]
        run = self.run_codes(codes)
        self.assertEqual(self.store.stats()["requests"], 0)
        self.assertEqual(run.messages, [])
        self.assertEqual(run.output, b"")

    def test_the_host_normalised_code_is_requested(self):
        # (code as listed, code in the search request)
        cases = [
            ("978-4-00-000001-7", BOOK_A),
            ("978 4 00 000010 9", BOOK_B),
            ("4-00-000010-1", ISBN_10),
            ("4-00-000011-x", "400000011X"),
        ]
        self.run_codes([listed for listed, _ in cases])
        searches = [t for t in self.store.targets() if t.startswith("/search")]
        self.assertEqual(searches, [search(requested) for _, requested in cases])

    def test_combined_codes_search_for_their_book_code(self):
        # (entry, code in the search request); the parts after the book code
        # are a classification and a price.
        cases = [
            (ISBN_10 + "0193" + "0600", ISBN_10),  # 18 characters: the ISBN-10
            (BOOK_A + "1920193006007", BOOK_A),  # 26 characters: the first 13
        ]
        self.run_codes([entry for entry, _ in cases])
        searches = [t for t in self.store.targets() if t.startswith("/search")]
        self.assertEqual(searches, [search(requested) for _, requested in cases])

    def test_one_connection_serves_the_whole_run(self):
        self.run_codes([BOOK_A, BOOK_B, ISBN_10])
        stats = self.store.stats()
        self.assertEqual(stats["requests"], 6)
        self.assertEqual(stats["connections"], 1)
        self.assertEqual(len({entry["connection"] for entry in stats["log"]}), 1)


if __name__ == "__main__":
    unittest.main()
