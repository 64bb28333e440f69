"""The sample store itself: the fault tests rely on it failing exactly as
asked, and on its pages being the bytes a store in EUC-JP sends."""

import http.client
import os
import shutil
import socket
import subprocess
import tempfile
import unittest

from harness import PYTHON, SERVER, SampleStore

PAGES = os.path.join(os.path.dirname(SERVER), "pages")


class SampleStoreTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.store = SampleStore(faults={"/item/preset": {"mode": "503"}}).__enter__()
        cls.addClassCleanup(cls.store.__exit__, None, None, None)

    def get(self, target, connection=None, timeout=5):
        """(status, headers, body) of one GET, on a connection of its own
        unless one is given."""
        own = connection is None
        connection = connection or self.store.connect(timeout)
        try:
            connection.request("GET", target)
            response = connection.getresponse()
            return response.status, response, response.read()
        finally:
            if own:
                connection.close()

    def test_pages_are_served_in_euc_jp_with_the_placeholders_filled(self):
        status, response, body = self.get("/search?sitem=9784000000017")
        self.assertEqual(status, 200)
        self.assertEqual(response.getheader("Content-Type"), "text/html; charset=EUC-JP")
        self.assertIn("サンプル書籍".encode("euc_jp"), body)  # bytes B5 D7 ... in EUC-JP
        self.assertIn(b'<a href="https://%s/item/placeholder?l-id=search-c-item-text-01">'
                      % self.store.host.encode(), body)
        self.assertIn(b"https://images.books.example/book/cabinet/", body)
        self.assertNotIn(b"{{", body)

    def test_bin_fixtures_are_served_as_they_are(self):
        with open(os.path.join(PAGES, "search", "9784000000062.bin"), "rb") as file:
            expected = file.read().replace(b"{{STORE}}", self.store.host.encode()).replace(
                b"{{IMAGES}}", b"images.books.example")
        self.assertIn(b"\x8f\xa2\xaf", expected)
        self.assertEqual(self.get("/search?sitem=9784000000062")[2], expected)

    def test_what_each_path_gives(self):
        with open(os.path.join(PAGES, "search", "_none.html"), encoding="utf-8") as file:
            none_page = file.read().replace("{{STORE}}", self.store.host).encode("euc_jp")
        # (target, status, body or None for any)
        cases = [
            ("/search?sitem=9784000000079", 200, none_page),  # no fixture
            ("/search?sitem=..%2Fitem%2Fplaceholder", 200, none_page),  # not a name
            ("/search", 200, none_page),
            ("/item/placeholder", 200, None),
            ("/item/placeholder?l-id=x", 200, None),
            ("/item/missing", 404, None),
            ("/item/..%2Fsearch%2F_none", 404, None),
            ("/", 404, None),
            ("/search/9784000000017.html", 404, None),
        ]
        for target, status, body in cases:
            with self.subTest(target=target):
                answer = self.get(target)
                self.assertEqual(answer[0], status)
                if body is not None:
                    self.assertEqual(answer[2], body)

    def test_one_connection_carries_several_requests(self):
        self.store.reset()
        connection = self.store.connect()
        try:
            for target in ("/search?sitem=9784000000017", "/item/placeholder", "/item/missing"):
                self.get(target, connection)
        finally:
            connection.close()
        self.get("/item/placeholder")
        stats = self.store.stats()
        self.assertEqual((stats["connections"], stats["requests"]), (2, 4))
        self.assertEqual([e["connection"] for e in stats["log"]][:3],
                         [stats["log"][0]["connection"]] * 3)
        self.assertEqual([e["status"] for e in stats["log"]], [200, 200, 404, 200])

    def test_faults(self):
        page_size = len(self.get("/item/placeholder")[2])
        # (fault fields, what the client sees)
        cases = [
            ({"mode": "500"}, (500, None)),
            ({"mode": "redirect", "url": "file:///etc/hostname"}, (302, "file:///etc/hostname")),
            ({"mode": "redirect", "url": "https://{{STORE}}/item/x", "status": 301},
             (301, "https://%s/item/x" % self.store.host)),
            ({"mode": "large", "size": 3000000}, (200, 3000000)),
            ({"mode": "slow", "delay": 0.01, "chunk": 100}, (200, page_size)),
        ]
        for fault, (status, detail) in cases:
            with self.subTest(fault=fault):
                self.store.set_fault("/item/placeholder", **fault)
                answer_status, response, body = self.get("/item/placeholder")
                self.assertEqual(answer_status, status)
                if status in (301, 302):
                    self.assertEqual(response.getheader("Location"), detail)
                elif detail is not None:
                    self.assertEqual(len(body), detail)
                    self.assertTrue(body.endswith(b"</html>\n"))
        self.store.reset()

    def test_drop_closes_short_of_the_announced_length(self):
        self.store.set_fault("/item/placeholder", mode="drop")
        with self.assertRaises(http.client.IncompleteRead):
            self.get("/item/placeholder")
        self.store.reset()

    def test_hang_never_answers(self):
        self.store.set_fault("/item/placeholder", mode="hang")
        with self.assertRaises(socket.timeout):
            self.get("/item/placeholder", timeout=0.5)
        self.store.reset()

    def test_a_fault_can_be_limited_and_applies_to_the_full_target_first(self):
        self.store.set_fault("/search", mode="500", times=1)
        self.store.set_fault("/search?sitem=9784000000017", mode="404")
        statuses = [self.get(target)[0] for target in
                    ("/search?sitem=9784000000017", "/search?sitem=9784000000079",
                     "/search?sitem=9784000000079")]
        self.assertEqual(statuses, [404, 500, 200])
        self.store.reset()

    def test_faults_set_at_start(self):
        self.assertEqual(self.get("/item/preset")[0], 503)

    def test_a_fixture_without_an_euc_jp_form_stops_the_store(self):
        root = tempfile.mkdtemp(prefix="e2e-fixtures-")
        self.addCleanup(shutil.rmtree, root, True)
        os.makedirs(os.path.join(root, "item"))
        with open(os.path.join(root, "item", "bad.html"), "w", encoding="utf-8") as file:
            file.write("<p>ok 〜 −</p>\n<p>1～2</p>\n")
        checked = subprocess.run([PYTHON, SERVER, "--check", "--root", root],
                                 capture_output=True, text=True, timeout=30)
        self.assertEqual(checked.returncode, 1)
        self.assertIn("bad.html:2: character U+FF5E", checked.stderr)
        self.assertIn("write U+301C", checked.stderr)
        with self.assertRaisesRegex(RuntimeError, "U\\+FF5E"):
            SampleStore(root=root).__enter__()

    def test_the_shipped_fixtures_all_encode(self):
        checked = subprocess.run([PYTHON, SERVER, "--check"], capture_output=True,
                                 text=True, timeout=30)
        self.assertEqual(checked.returncode, 0, checked.stderr)

    def test_the_store_ends_by_itself(self):
        with SampleStore(lifetime=1) as store:
            store.process.wait(10)
            self.assertEqual(store.process.returncode, 0)


if __name__ == "__main__":
    unittest.main()
