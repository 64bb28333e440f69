"""Faults of the store, the network, the work folder and the output, one row
each, through korvane.exe and the sample store. Every row checks the same
things: the run ends normally, within the time-outs it was given; the user
sees exactly the messages they must know about; and every line collected
before the fault is in the output file, with the good codes around the fault
looked up as usual.

Some rows need mounts of their own (a read-only folder, a full disk): the
test process then moves into a mount namespace of its own, so that nothing
outside it sees them. Without the right to mount (root), those rows skip."""

import contextlib
import csv
import ctypes
import dataclasses
import io
import os
import random
import shutil
import socket
import tempfile
import threading
import time
import typing
import unittest

from harness import REPOSITORY, SampleStore, closed_port, run_korvane

DOWNLOAD_FAILED = "ダウンロード失敗"
UNEXPECTED_ERROR = "処理中にエラーが発生しました\r\n"
NO_WORK_FOLDER = "作業フォルダがありません\r\n"
UNWRITABLE = " に書き込めません"
UNREADABLE = " を読み込めません"

# Good books: result pages in tests/sample_store/pages/search/ that link to
# the placeholder item page.
BOOK_A = "9784000000017"
BOOK_B = "9784000000109"
ITEM_A = "/item/placeholder?l-id=search-c-item-text-01"  # both books' item request
# Codes whose pages this module adds to a copy of the fixtures.
FAULTY = "9784999800018"  # links to /item/fault-target, which the rows make fail
BAD_ITEM_PAGE = "9784999800025"  # links to an item page that is not EUC-JP
FAULTY_ITEM = "/item/fault-target"
ITEM_FAULTY = FAULTY_ITEM + "?l-id=search-c-item-text-01"
# Result pages of the sample store with hostile links or bytes.
CR_LF_LINK = "9784000000048"
SPACE_LINK = "9784000000055"
BAD_RESULT_PAGE = "9784000000062"

FIFTY_MEGABYTES = 50 * 1024 * 1024
HANG_TIMEOUT_S = 2


def search(code):
    return "/search?sitem=" + code


def result_page(code, item):
    return ("<html><head><title>%s</title></head><body>\n"
            '<div class="search-c-item-text"><a href="https://{{STORE}}/item/%s'
            '?l-id=search-c-item-text-01">本</a></div>\n'
            "</body></html>\n" % (code, item))


FAULT_TARGET_PAGE = ("<html><head><title>故障試験</title></head><body>\n"
                     '<h1 itemprop="name">故障試験の本</h1>\n'
                     "<p>\n</p>\n</body></html>\n")

# Not EUC-JP: a three-byte 8F form and a lone 8E in the title, bytes that no
# EUC-JP text holds (FF FE 80), a lead byte before the heading's end tag, one
# before a line break and one as the very last byte.
BAD_ITEM_BYTES = (b"<html><head><title>bad</title></head><body>\n"
                  b'<h1 itemprop="name">\xc9\xd4\xc0\xb5\x8f\xa2\xaf\x8e \xff\xfe\x80\xa4</h1>\n'
                  b"<p>\xa4\n"
                  b"</p>\n"
                  b"</body></html>\n\xa4")


def write_fixture_root(folder):
    """The sample store's fixtures and this module's pages, in `folder`."""
    shutil.copytree(os.path.join(REPOSITORY, "tests", "sample_store", "pages"), folder)
    pages = {
        ("search", FAULTY + ".html"): result_page(FAULTY, "fault-target").encode("utf-8"),
        ("search", BAD_ITEM_PAGE + ".html"): result_page(BAD_ITEM_PAGE, "bad-euc-jp").encode(),
        ("item", "fault-target.html"): FAULT_TARGET_PAGE.encode("utf-8"),
        ("item", "bad-euc-jp.bin"): BAD_ITEM_BYTES,
    }
    for (kind, name), data in pages.items():
        with open(os.path.join(folder, kind, name), "wb") as file:
            file.write(data)


def garbage_codes(count, seed=6):
    """Entries that no code check accepts: printable ASCII and Shift-JIS
    bytes, of every length up to 40 and the combined codes' 18 and 26, never
    a line break or a zero byte (which would end the list)."""
    generator = random.Random(seed)
    alphabet = bytes(range(0x20, 0x7F)) + bytes(range(0x81, 0xFD))
    codes = []
    while len(codes) < count:
        length = generator.choice([18, 26, generator.randint(1, 40)])
        code = bytes(generator.choice(alphabet) for _ in range(length))
        if not set(code) <= set(b"0123456789Xx- "):
            codes.append(code)
    return codes


# --- mounts that only this process sees --------------------------------------

CLONE_NEWNS = 0x00020000
MS_RDONLY = 0x1
MS_REC = 0x4000
MS_PRIVATE = 0x40000
MNT_DETACH = 0x2
_LIBC = ctypes.CDLL(None, use_errno=True)
_NAMESPACE = {}  # "reason": why private mounts are not possible ("" when they are)


def private_mounts_unavailable():
    """The empty text when this process can make mounts of its own; why not
    otherwise. The first call moves the process into a mount namespace of its
    own, with every mount private, so nothing mounted later is seen outside."""
    if "reason" not in _NAMESPACE:
        if threading.active_count() > 1:
            _NAMESPACE["reason"] = "the test process already runs threads"
        elif _LIBC.unshare(CLONE_NEWNS) != 0:
            _NAMESPACE["reason"] = "unshare: " + os.strerror(ctypes.get_errno())
        elif _LIBC.mount(b"none", b"/", None, MS_REC | MS_PRIVATE, None) != 0:
            _NAMESPACE["reason"] = "private mounts: " + os.strerror(ctypes.get_errno())
        else:
            _NAMESPACE["reason"] = ""
    return _NAMESPACE["reason"]


def mount_tmpfs(folder, options, read_only=False):
    flags = MS_RDONLY if read_only else 0
    if _LIBC.mount(b"tmpfs", folder.encode(), b"tmpfs", flags, options.encode()) != 0:
        raise OSError(ctypes.get_errno(), "mount tmpfs on " + folder)


def unmount(folder):
    _LIBC.umount2(folder.encode(), MNT_DETACH)


# --- the rows ----------------------------------------------------------------


@dataclasses.dataclass
class Case:
    """One row's run: where it works and writes, and what it set up."""
    store: SampleStore
    work: str
    out: str
    scratch: str  # a temporary folder of the row's own
    environment: dict
    stack: contextlib.ExitStack


def private_folder(case, name):
    folder = os.path.join(case.scratch, name)
    os.mkdir(folder)
    return folder


def needs_mounts():
    reason = private_mounts_unavailable()
    if reason:
        raise unittest.SkipTest("no mounts of its own: " + reason)


def store_at_closed_port(case):
    case.environment["ORVEL_STORE_HOST"] = "127.0.0.1:%d" % closed_port()


def store_that_never_speaks(case):
    """A port that accepts connections (the kernel does) and never says a word,
    not even the TLS handshake."""
    listener = case.stack.enter_context(socket.socket())
    listener.bind(("127.0.0.1", 0))
    listener.listen(8)
    case.environment["ORVEL_STORE_HOST"] = "127.0.0.1:%d" % listener.getsockname()[1]


def missing_work_folder(case):
    case.work = os.path.join(case.scratch, "no-such-folder")
    case.out = os.path.join(case.scratch, "books.csv")


def output_in_missing_folder(case):
    case.out = os.path.join(case.work, "no-such-folder", "books.csv")


def output_in_read_only_folder(case):
    needs_mounts()
    folder = private_folder(case, "read-only")
    mount_tmpfs(folder, "size=64k", read_only=True)
    case.stack.callback(unmount, folder)
    case.out = os.path.join(folder, "books.csv")


def output_in_proc(case):
    # Nobody, root included, can make a file in /proc: opening one to write
    # fails with ENOENT.
    case.out = "/proc/orvel-books.csv"


def output_on_full_disk(free_bytes):
    """A small file system of the row's own, filled up to `free_bytes` of
    free room (whole pages)."""
    def place(case):
        needs_mounts()
        folder = private_folder(case, "full-disk")
        mount_tmpfs(folder, "size=64k,nr_inodes=16")
        case.stack.callback(unmount, folder)
        filler = os.path.join(folder, "filler")
        with open(filler, "wb", buffering=0) as file:
            with contextlib.suppress(OSError):
                while True:
                    file.write(bytes(4096))
        os.truncate(filler, os.path.getsize(filler) - free_bytes)
        case.out = os.path.join(folder, "books.csv")
    return place


def author_dictionary_file(case):
    with open(os.path.join(case.work, "AuthDB.dat"), "wb") as file:
        file.write(b"|x|x|\r\n")


def wait_for_request(store, target, seconds=15):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if target in store.targets():
            return
        time.sleep(0.02)
    raise AssertionError("the store never saw %s" % target)


def author_dictionary_becomes_a_folder(case):
    """While the first book's item page is on its way (the store holds it back
    for a second), AuthDB.dat becomes a folder: it exists and cannot be read
    when the next code loads it."""
    wait_for_request(case.store, ITEM_A)
    path = os.path.join(case.work, "AuthDB.dat")
    os.remove(path)
    os.mkdir(path)


def unexpected_error(text):
    return lambda case: [UNEXPECTED_ERROR + text(case)]


@dataclasses.dataclass
class Row:
    name: str
    codes: typing.Any  # a list of texts (the harness joins them with CR LF), or bytes
    messages: typing.Any  # the messages shown, or a function of the Case giving them
    lines: typing.Optional[list]  # the output's first columns; None: no output file
    requests: list  # what the store was asked, in order
    seconds: tuple = (0, 10)  # the run's elapsed time lies in [first, second)
    faults: dict = dataclasses.field(default_factory=dict)  # path -> fault fields
    environment: dict = dataclasses.field(default_factory=dict)
    place: typing.Optional[typing.Callable] = None  # sets up the Case before the run
    during: typing.Optional[typing.Callable] = None  # runs beside the run


# The three codes of most rows: a good book, the code that meets the fault,
# another good book.
AROUND = [BOOK_A, FAULTY, BOOK_B]
LINES_AROUND = [BOOK_A, BOOK_B]
ALL_LINES = [BOOK_A, FAULTY, BOOK_B]
GOOD_A = [search(BOOK_A), ITEM_A]
GOOD_B = [search(BOOK_B), ITEM_A]
HANG = {"ORVEL_TIMEOUT_S": str(HANG_TIMEOUT_S)}

ROWS = [
    Row("connection refused", [BOOK_A, BOOK_B], [DOWNLOAD_FAILED] * 2, [], [],
        seconds=(0, 5), place=store_at_closed_port),
    Row("a port that accepts and never speaks: the time-out ends each code",
        [BOOK_A, BOOK_B], [DOWNLOAD_FAILED] * 2, [], [],
        seconds=(2 * HANG_TIMEOUT_S, 2 * HANG_TIMEOUT_S + 6), environment=HANG,
        place=store_that_never_speaks),
    Row("search never answered: the time-out ends the code, the run goes on",
        AROUND, [DOWNLOAD_FAILED], LINES_AROUND, GOOD_A + [search(FAULTY)] + GOOD_B,
        seconds=(HANG_TIMEOUT_S, HANG_TIMEOUT_S + 6), environment=HANG,
        faults={search(FAULTY): {"mode": "hang"}}),
    Row("item page never answered", AROUND, [DOWNLOAD_FAILED], LINES_AROUND,
        GOOD_A + [search(FAULTY), ITEM_FAULTY] + GOOD_B,
        seconds=(HANG_TIMEOUT_S, HANG_TIMEOUT_S + 6), environment=HANG,
        faults={FAULTY_ITEM: {"mode": "hang"}}),
    Row("search 404", AROUND, [DOWNLOAD_FAILED], LINES_AROUND,
        GOOD_A + [search(FAULTY)] + GOOD_B, faults={search(FAULTY): {"mode": "404"}}),
    Row("search 500", AROUND, [DOWNLOAD_FAILED], LINES_AROUND,
        GOOD_A + [search(FAULTY)] + GOOD_B, faults={search(FAULTY): {"mode": "500"}}),
    Row("item page 404", AROUND, [DOWNLOAD_FAILED], LINES_AROUND,
        GOOD_A + [search(FAULTY), ITEM_FAULTY] + GOOD_B,
        faults={FAULTY_ITEM: {"mode": "404"}}),
    Row("item page 500", AROUND, [DOWNLOAD_FAILED], LINES_AROUND,
        GOOD_A + [search(FAULTY), ITEM_FAULTY] + GOOD_B,
        faults={FAULTY_ITEM: {"mode": "500"}}),
    Row("search dropped mid-body", AROUND, [DOWNLOAD_FAILED], LINES_AROUND,
        GOOD_A + [search(FAULTY)] + GOOD_B, faults={search(FAULTY): {"mode": "drop"}}),
    Row("item page dropped mid-body", AROUND, [DOWNLOAD_FAILED], LINES_AROUND,
        GOOD_A + [search(FAULTY), ITEM_FAULTY] + GOOD_B,
        faults={FAULTY_ITEM: {"mode": "drop"}}),
    Row("a 50 MB item page is read like any other", AROUND, [], ALL_LINES,
        GOOD_A + [search(FAULTY), ITEM_FAULTY] + GOOD_B, seconds=(0, 60),
        faults={FAULTY_ITEM: {"mode": "large", "size": FIFTY_MEGABYTES}}),
    Row("item page redirected to file://", AROUND, [DOWNLOAD_FAILED], LINES_AROUND,
        GOOD_A + [search(FAULTY), ITEM_FAULTY] + GOOD_B,
        faults={FAULTY_ITEM: {"mode": "redirect", "url": "file:///etc/hostname"}}),
    Row("item page redirected to gopher://", AROUND, [DOWNLOAD_FAILED], LINES_AROUND,
        GOOD_A + [search(FAULTY), ITEM_FAULTY] + GOOD_B,
        faults={FAULTY_ITEM: {"mode": "redirect", "url": "gopher://{{STORE}}/1item"}}),
    Row("search redirected to ftp://", AROUND, [DOWNLOAD_FAILED], LINES_AROUND,
        GOOD_A + [search(FAULTY)] + GOOD_B,
        faults={search(FAULTY): {"mode": "redirect", "url": "ftp://{{STORE}}/search"}}),
    # The page is split into lines before the link is looked for, so the link
    # ends at the CR LF and no line break ever reaches a request.
    Row("result link with CR LF in it", [BOOK_A, CR_LF_LINK, BOOK_B], [],
        [BOOK_A, CR_LF_LINK, BOOK_B], GOOD_A + [search(CR_LF_LINK), ITEM_A] + GOOD_B),
    Row("result link with a space in it: never sent", [BOOK_A, SPACE_LINK, BOOK_B],
        [DOWNLOAD_FAILED], LINES_AROUND, GOOD_A + [search(SPACE_LINK)] + GOOD_B),
    Row("result page that is not EUC-JP", [BOOK_A, BAD_RESULT_PAGE, BOOK_B], [],
        [BOOK_A, BAD_RESULT_PAGE, BOOK_B], GOOD_A + [search(BAD_RESULT_PAGE), ITEM_A] + GOOD_B),
    Row("item page that is not EUC-JP", [BOOK_A, BAD_ITEM_PAGE, BOOK_B], [],
        [BOOK_A, BAD_ITEM_PAGE, BOOK_B],
        GOOD_A + [search(BAD_ITEM_PAGE), "/item/bad-euc-jp?l-id=search-c-item-text-01"] + GOOD_B),
    Row("10,000 entries of garbage: rejected by the host, no requests",
        b"\r\n".join([BOOK_A.encode()] + garbage_codes(10000) + [BOOK_B.encode()]), [],
        LINES_AROUND, GOOD_A + GOOD_B),
    Row("work folder that does not exist: the run ends before the first code",
        AROUND, lambda case: [NO_WORK_FOLDER + case.work + "/"], None, [],
        place=missing_work_folder),
    Row("output in a folder that does not exist: noticed before the first code",
        AROUND, unexpected_error(lambda case: case.out + UNWRITABLE), None, [],
        place=output_in_missing_folder),
    Row("output in a read-only folder: noticed before the first code",
        AROUND, unexpected_error(lambda case: case.out + UNWRITABLE), None, [],
        place=output_in_read_only_folder),
    Row("output in /proc, where root cannot make files either", AROUND,
        unexpected_error(lambda case: case.out + UNWRITABLE), None, [],
        place=output_in_proc),
    # The first book's line is collected; then its AuthDB.dat becomes a
    # folder, and the next code cannot load it: the run ends there, saving
    # that line.
    Row("AuthDB.dat that exists and cannot be read", AROUND,
        unexpected_error(lambda case: os.path.join(case.work, "AuthDB.dat") + UNREADABLE),
        [BOOK_A], GOOD_A,
        faults={"/item/placeholder": {"mode": "slow", "delay": 1, "chunk": 1 << 20,
                                      "times": 1}},
        place=author_dictionary_file, during=author_dictionary_becomes_a_folder),
    # A full disk cannot be seen before the lines are written; they are lost,
    # the user is told, and no file is left that the host would import as the
    # run's result.
    Row("disk full from the first byte", AROUND,
        unexpected_error(lambda case: case.out + UNWRITABLE), None,
        GOOD_A + [search(FAULTY), ITEM_FAULTY] + GOOD_B, place=output_on_full_disk(0)),
    Row("disk full part-way through the output", [BOOK_A] * 60,
        unexpected_error(lambda case: case.out + UNWRITABLE), None, GOOD_A * 60,
        place=output_on_full_disk(4096)),
]


def first_columns(output):
    """The first column of every line of the output (Shift-JIS throughout)."""
    return [line[0] for line in csv.reader(io.StringIO(output.decode("cp932"), newline=""))]


class FaultTableTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        private_mounts_unavailable()  # while the process has no threads yet
        cls.root = tempfile.mkdtemp(prefix="e2e-faults-pages-")
        cls.addClassCleanup(shutil.rmtree, cls.root, True)
        pages = os.path.join(cls.root, "pages")
        write_fixture_root(pages)
        cls.store = SampleStore(root=pages).__enter__()
        cls.addClassCleanup(cls.store.__exit__, None, None, None)

    def check(self, row):
        with contextlib.ExitStack() as stack:
            scratch = tempfile.mkdtemp(prefix="e2e-faults-")
            stack.callback(shutil.rmtree, scratch, True)
            work = os.path.join(scratch, "work")
            os.mkdir(work)
            case = Case(self.store, work, os.path.join(work, "books.csv"), scratch,
                        dict(row.environment), stack)
            if row.place is not None:
                row.place(case)
            self.store.reset()
            for path, fields in row.faults.items():
                self.store.set_fault(path, **fields)
            # An output left from an earlier run must never pass for this one's.
            with contextlib.suppress(OSError):
                with open(case.out, "xb") as file:
                    file.write(b"OLD,LINE\r\n")

            beside = BesideTheRun(row.during, case)
            run = run_korvane(row.codes, case.work, store=self.store, out=case.out,
                              extra_env=case.environment, timeout=120)
            beside.finish()

            self.assertEqual(run.returncode, 0, run.stderr)
            first, last = row.seconds
            self.assertGreaterEqual(run.elapsed, first)
            self.assertLess(run.elapsed, last)
            messages = row.messages(case) if callable(row.messages) else row.messages
            self.assertEqual(run.messages, messages)
            if row.lines is None:
                if run.output is not None:
                    self.fail("an output file of %d bytes was left, ending %r"
                              % (len(run.output), run.output[-40:]))
            else:
                self.assertIsNotNone(run.output, run.stderr)
                self.assertEqual(first_columns(run.output), row.lines)
            self.assertEqual(self.store.targets(), row.requests)

    def test_every_fault_ends_the_code_or_the_run_cleanly(self):
        for row in ROWS:
            with self.subTest(row.name):
                self.check(row)


class BesideTheRun:
    """Runs a row's `during` action in a thread while korvane.exe runs."""

    def __init__(self, action, case):
        self.error = None
        self.thread = None
        if action is not None:
            self.thread = threading.Thread(target=self._run, args=(action, case), daemon=True)
            self.thread.start()

    def _run(self, action, case):
        try:
            action(case)
        except BaseException as error:  # noqa: B902 - re-raised in the test's thread
            self.error = error

    def finish(self):
        if self.thread is not None:
            self.thread.join(30)
            if self.error is not None:
                raise self.error


if __name__ == "__main__":
    unittest.main()
