"""What a run costs and leaves behind, through korvane.exe and the sample
store: the peak memory over a 50 MB item page, the file and module handles of
the running host across 1,000 codes, and the files left after a run.

The module gives itself a /tmp of its own when it can mount (root, in a mount
namespace that nothing outside sees), so that the files of other programs
never count as the run's."""

import glob
import os
import re
import resource
import shutil
import tempfile
import threading
import time
import unittest

from harness import REPOSITORY, SampleStore, korvane_path, run_korvane
from test_faults import mount_tmpfs, private_mounts_unavailable, unmount

DOWNLOAD_FAILED = "ダウンロード失敗"

BOOK_A = "9784000000017"  # result page linking to the placeholder item page
BOOK_B = "9784000000109"
NO_RESULT = "9784000000079"  # the "no results" page: one quick request
FAILING_SEARCH = "9784999800049"  # the store answers 500 (set below)
DROPPED_SEARCH = "9784999800056"  # the store drops the connection mid-body
ITEM_A = "/item/placeholder"

MEGABYTE = 1024 * 1024
PAGE_SIZE = 50 * MEGABYTE
# Peak memory of a run over the 50 MB page, as a multiple of the page: the
# page is held a few times over while it is converted and split into lines.
PEAK_MEMORY_BOUND = 8


def built_with_sanitizers():
    """The address sanitizer's shadow memory and quarantine make peak memory
    figures meaningless."""
    with open(korvane_path(), "rb") as file:
        return b"libasan.so" in file.read()


def running_child(name, timeout=15):
    """The pid of this process's child called `name`, once it runs."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        for entry in os.listdir("/proc"):
            if not entry.isdigit():
                continue
            try:
                with open("/proc/%s/status" % entry, encoding="utf-8") as file:
                    status = dict(line.split(":\t", 1) for line in file.read().splitlines()
                                  if ":\t" in line)
            except OSError:
                continue
            if status.get("Name", "").strip() == name and int(status["PPid"]) == os.getpid():
                return int(entry)
        time.sleep(0.01)
    raise AssertionError("%s did not start" % name)


def open_files(pid):
    """What the process's file descriptors refer to."""
    folder = "/proc/%d/fd" % pid
    targets = []
    for fd in os.listdir(folder):
        try:
            targets.append(os.readlink(os.path.join(folder, fd)))
        except OSError:
            pass  # closed while we looked
    return sorted(targets)


SHARED_OBJECT = re.compile(r"\.so(\.[0-9]+)*$")


def mapped_modules(pid):
    """The shared objects and the executable mapped into the process."""
    modules = set()
    with open("/proc/%d/maps" % pid, encoding="utf-8", errors="replace") as file:
        for line in file:
            fields = line.split(None, 5)
            if len(fields) == 6 and fields[5].startswith("/"):
                path = fields[5].strip()
                name = os.path.basename(path)
                if SHARED_OBJECT.search(name) or name == "korvane.exe":
                    modules.add(path)
    return modules


class Sample:
    def __init__(self, requests, files, modules):
        self.requests = requests
        self.files = files
        self.modules = modules


class RunWatcher:
    """Runs korvane.exe in a thread and samples its open files and modules
    while the plug-in's run is under way: until the store has seen the run's
    last request, after which the host unloads the plug-in and ends."""

    def __init__(self, store, codes, work, last_request, **options):
        self.store = store
        self.samples = []
        self.run = None
        self.error = None
        thread = threading.Thread(target=self._run, args=(codes, work), kwargs=options,
                                  daemon=True)
        thread.start()
        try:
            pid = running_child("korvane.exe")
            while thread.is_alive():
                try:
                    files, modules = open_files(pid), mapped_modules(pid)
                except OSError:
                    break  # the process has ended
                # Counted after the look, so the run was under way during it.
                requests = store.stats()["requests"]
                if requests >= last_request:
                    break
                self.samples.append(Sample(requests, files, modules))
                time.sleep(0.02)
        finally:
            thread.join(120)
        if self.error is not None:
            raise self.error

    def _run(self, codes, work, **options):
        try:
            self.run = run_korvane(codes, work, store=self.store, **options)
        except BaseException as error:  # re-raised in the test's thread
            self.error = error


def listing(folder, leave_out=None):
    """Every path under `folder`, relative to it, but for what lies under the
    folder `leave_out`."""
    paths = set()
    for base, folders, files in os.walk(folder):
        folders[:] = [name for name in folders if os.path.join(base, name) != leave_out]
        for name in folders + files:
            paths.add(os.path.relpath(os.path.join(base, name), folder))
    return paths


class ResourceBoundsTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        # A /tmp of its own would hide the build and the sample store when
        # they lie in /tmp themselves.
        inside_tmp = any(os.path.realpath(path).startswith("/tmp/")
                         for path in (REPOSITORY, korvane_path()))
        cls.private_tmp = not inside_tmp and not private_mounts_unavailable()
        if cls.private_tmp:
            mount_tmpfs("/tmp", "mode=1777")
            cls.addClassCleanup(unmount, "/tmp")
        cls.store = SampleStore().__enter__()
        cls.addClassCleanup(cls.store.__exit__, None, None, None)

    def setUp(self):
        self.store.reset()
        self.folder = tempfile.mkdtemp(prefix="e2e-resources-")
        self.addCleanup(shutil.rmtree, self.folder, True)
        self.work = os.path.join(self.folder, "work")
        os.mkdir(self.work)
        # The sample dictionaries, so that every code reads three files.
        for path in glob.glob(os.path.join(REPOSITORY, "tests", "sample_store", "work", "*.dat")):
            shutil.copy(path, self.work)

    def test_peak_memory_over_a_50_mb_item_page(self):
        self.store.set_fault(ITEM_A, "large", size=PAGE_SIZE)
        # The largest peak of any child waited for so far: after the run, this
        # run's when it grew, and at least this run's in any case.
        earlier = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss * 1024
        run = run_korvane([BOOK_A], self.work, store=self.store, timeout=120)
        peak = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss * 1024
        self.assertEqual(run.returncode, 0, run.stderr)
        self.assertEqual(run.messages, [])
        self.assertEqual(run.output_text.count("\r\n"), 1)
        print("\npeak memory over a %d MB item page: %s%.0f MB (%.1f times the page), %.1f s"
              % (PAGE_SIZE // MEGABYTE, "" if peak > earlier else "at most ",
                 peak / MEGABYTE, peak / PAGE_SIZE, run.elapsed))
        if built_with_sanitizers():
            self.skipTest("built with sanitizers: %.0f MB is not the plug-in's own"
                          % (peak / MEGABYTE))
        self.assertLessEqual(peak, PEAK_MEMORY_BOUND * PAGE_SIZE)

    def test_no_file_or_module_handles_leak_across_1000_codes(self):
        self.store.set_fault("/search?sitem=" + FAILING_SEARCH, "500")
        self.store.set_fault("/search?sitem=" + DROPPED_SEARCH, "drop")
        # Every tenth code an item page, a failed download and a dropped
        # connection (which the next code replaces); the rest quick misses.
        block = [BOOK_A, FAILING_SEARCH, DROPPED_SEARCH] + [NO_RESULT] * 7
        codes = block * 100
        watcher = RunWatcher(self.store, codes, self.work, last_request=1100,
                             out=os.path.join(self.folder, "books.csv"))
        run = watcher.run
        self.assertEqual(run.returncode, 0, run.stderr)
        self.assertEqual(run.messages, [DOWNLOAD_FAILED] * 200)
        self.assertEqual(run.output_text.count("\r\n"), 100)
        self.assertEqual(self.store.stats()["requests"], 1100)

        # Early: the first 300 requests; late: the last 300.
        early = [s for s in watcher.samples if s.requests <= 300]
        late = [s for s in watcher.samples if s.requests >= 800]
        self.assertTrue(early and late, "too few samples: %d" % len(watcher.samples))
        most_early = max(early, key=lambda s: len(s.files))
        most_late = max(late, key=lambda s: len(s.files))
        print("\n1,000 codes in %.1f s, %d samples: open files at most %d early, %d late; "
              "modules %d early, %d late"
              % (run.elapsed, len(watcher.samples), len(most_early.files), len(most_late.files),
                 len(early[-1].modules), len(late[-1].modules)))
        print("open files late: %s" % ", ".join(most_late.files))
        # A download, a reconnection or a dictionary being read holds a file
        # for a moment; a leak grows with the codes.
        self.assertLessEqual(len(most_late.files), len(most_early.files) + 2,
                             "early: %s\nlate: %s" % (most_early.files, most_late.files))
        # Nothing is loaded late that was not loaded early.
        self.assertLessEqual(set.union(*(s.modules for s in late)),
                             set.union(*(s.modules for s in early)))
        self.assertEqual(len(late[-1].modules), len(early[-1].modules))

    def test_a_run_leaves_only_the_scratch_file(self):
        self.store.set_fault("/search?sitem=" + FAILING_SEARCH, "500")
        self.store.set_fault("/search?sitem=" + DROPPED_SEARCH, "drop")
        out_folder = os.path.join(self.folder, "output")
        os.mkdir(out_folder)
        host_folder = os.path.dirname(korvane_path())
        watched = {"work folder": self.work, "output folder": out_folder,
                   "host folder": host_folder}
        if self.private_tmp:
            watched["/tmp"] = "/tmp"
        # The work and output folders lie in this test's folder in /tmp.
        before = {name: listing(folder, self.folder) for name, folder in watched.items()}
        codes = [BOOK_A, FAILING_SEARCH, DROPPED_SEARCH, NO_RESULT, "garbage", BOOK_B]
        run = run_korvane(codes, self.work, store=self.store,
                          out=os.path.join(out_folder, "books.csv"))
        self.assertEqual(run.returncode, 0, run.stderr)
        self.assertEqual(run.messages, [DOWNLOAD_FAILED] * 2)
        kept = {"work folder": {"Temp.html"}, "output folder": {"books.csv"}}
        for name, folder in watched.items():
            with self.subTest(folder=name):
                after = listing(folder, self.folder)
                self.assertEqual(after - before[name], kept.get(name, set()))
                self.assertLessEqual(before[name], after)
        if not self.private_tmp:
            with self.subTest(folder="/tmp"):
                self.skipTest("other programs' files would count: no /tmp of its own (%s)"
                              % private_mounts_unavailable())


if __name__ == "__main__":
    unittest.main()
