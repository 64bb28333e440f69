"""The end-to-end suite (tests/e2e) run twice: with the Linux build, then
with the Windows korvane.exe and orvel.dll under Wine. Every test must pass
in both, and every run of korvane.exe must leave the same output file and
show the same messages, byte for byte, on both platforms.

    e2e_under_wine.py --linux-bin DIR --windows-bin DIR --programs DIR
                      --prefix DIR [MODULE ...]

It reuses the harness of tests/e2e as it is; what a Windows run needs on top
(Wine before the program, orvel.dll in a private host folder, the store's
certificate trusted) is added here around the harness's functions.
"""

import argparse
import glob
import inspect
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
REPOSITORY = os.path.dirname(os.path.dirname(HERE))
E2E = os.path.join(REPOSITORY, "tests", "e2e")
sys.path[:0] = [HERE, E2E]

import harness  # noqa: E402  (tests/e2e)
import wine  # noqa: E402

# Modules of tests/e2e that do not run korvane.exe, and why.
NOT_UNDER_WINE = {
    "test_sample_store": "tests the sample store itself",
}

PLUGIN_FILES = ("liborvel.so", "orvel.dll")


class Platform:
    """Which build the harness runs: its korvane.exe, and for Windows the
    Wine prefix and the certificate helper."""

    def __init__(self, name, korvane, prefix=None, trust_program=None):
        self.name = name
        self.korvane = korvane
        self.prefix = prefix
        self.trust_program = trust_program
        self.runs = []  # what each run left: (test, output, messages)


current = None  # the Platform being run


class WineAwareSubprocess:
    """The harness's subprocess module, with Windows programs started under
    Wine in the suite's prefix."""

    def __getattr__(self, name):
        return getattr(subprocess, name)

    @staticmethod
    def run(command, *arguments, **options):
        if command and wine.is_windows_program(command[0]):
            command = wine.command(command[0], *command[1:])
            options["env"] = wine.environment(current.prefix, options.get("env"))
        return subprocess.run(command, *arguments, **options)


def private_host_copy(korvane, folder, setting_ini):
    """As the harness's, for either platform's plug-in file."""
    os.makedirs(folder)
    source = os.path.dirname(korvane)
    for name in (os.path.basename(korvane),) + PLUGIN_FILES:
        if os.path.exists(os.path.join(source, name)):
            shutil.copy2(os.path.join(source, name), os.path.join(folder, name))
    if setting_ini is not None:
        data = setting_ini if isinstance(setting_ini, bytes) else setting_ini.encode("cp932")
        with open(os.path.join(folder, "Setting.ini"), "wb") as file:
            file.write(data)
    return os.path.join(folder, os.path.basename(korvane))


def server_whose_certificate_wine_accepts(folder):
    """Wine matches a host name only against the certificate's DNS names, so
    the store's certificate must name 127.0.0.1 as a DNS name too. Until the
    store's own certificate does, a copy of the store that adds it is run."""
    with open(harness.SERVER, encoding="utf-8") as file:
        source = file.read()
    if "DNS:127.0.0.1" in source:
        return harness.SERVER
    amended = source.replace("subjectAltName=IP:127.0.0.1,",
                             "subjectAltName=IP:127.0.0.1,DNS:127.0.0.1,")
    if amended == source:
        return harness.SERVER
    path = os.path.join(folder, "server.py")
    with open(path, "w", encoding="utf-8") as file:
        file.write(amended)
    return path


store_pages = os.path.join(os.path.dirname(harness.SERVER), "pages")
original_store_enter = harness.SampleStore.__enter__


def store_enter(store):
    if store.root is None:
        store.root = store_pages
    original_store_enter(store)
    if current.trust_program is not None:
        subprocess.run(wine.command(current.trust_program, store.ca_file), check=True,
                       env=wine.environment(current.prefix), capture_output=True, timeout=120)
    return store


original_run_korvane = harness.run_korvane


def test_running_now():
    for frame in inspect.stack():
        test = frame.frame.f_locals.get("self")
        if isinstance(test, unittest.TestCase):
            return test.id()
    return "?"


def normalised(data, store, work_dir):
    """The bytes with what differs between any two runs named instead: the
    store's address and the work folder (after which the Windows host puts
    its own separator)."""
    if store is not None:
        data = data.replace(store.host.encode(), b"{{STORE}}")
    folder = work_dir.encode()
    return data.replace(folder + b"\\", b"{{WORK}}").replace(folder, b"{{WORK}}")


def recorded_run_korvane(codes, work_dir, store=None, **options):
    run = original_run_korvane(codes, work_dir, store=store, **options)
    output = None if run.output is None else normalised(run.output, store, work_dir)
    messages = [normalised(m.encode("utf-8"), store, work_dir) for m in run.messages]
    current.runs.append((test_running_now(), output, messages))
    return run


harness.subprocess = WineAwareSubprocess()
harness.private_host_copy = private_host_copy
harness.SampleStore.__enter__ = store_enter
harness.run_korvane = recorded_run_korvane


def run_suite(platform, modules):
    global current
    current = platform
    print("== %s: %s" % (platform.name, platform.korvane), flush=True)
    harness.korvane_path = lambda: platform.korvane
    suite = unittest.TestSuite(unittest.defaultTestLoader.loadTestsFromName(m) for m in modules)
    result = unittest.TextTestRunner(verbosity=1, stream=sys.stdout).run(suite)
    return result.wasSuccessful()


def differences(linux, windows):
    found = []
    if len(linux.runs) != len(windows.runs):
        found.append("%d runs on Linux, %d under Wine" % (len(linux.runs), len(windows.runs)))
    for (test, linux_output, linux_messages), (_, output, messages) in zip(linux.runs,
                                                                            windows.runs):
        if linux_output != output:
            found.append("%s: output file differs:\n  Linux %r\n  Wine  %r"
                         % (test, linux_output, output))
        if linux_messages != messages:
            found.append("%s: messages differ:\n  Linux %r\n  Wine  %r"
                         % (test, linux_messages, messages))
    return found


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--linux-bin", required=True, help="the Linux build's bin folder")
    parser.add_argument("--windows-bin", required=True, help="the Windows build's bin folder")
    parser.add_argument("--programs", required=True, help="the Windows test programs' folder")
    parser.add_argument("--prefix", required=True, help="the Wine prefix (made by wine.py)")
    parser.add_argument("modules", nargs="*", help="tests/e2e modules (default: all)")
    options = parser.parse_args()

    windows_korvane = os.path.join(options.windows_bin, "korvane.exe")
    reason = wine.cannot_run_reason(windows_korvane)
    if reason:
        print("skipped: " + reason)
        return wine.SKIPPED
    linux_korvane = os.path.join(options.linux_bin, "korvane.exe")
    if not os.path.isfile(linux_korvane):
        print("%s is missing: build the Linux preset first" % linux_korvane)
        return 1

    modules = options.modules or sorted(
        os.path.basename(path)[:-3] for path in glob.glob(os.path.join(E2E, "test_*.py"))
        if os.path.basename(path)[:-3] not in NOT_UNDER_WINE)
    scratch = tempfile.mkdtemp(prefix="orvel-wine-")
    try:
        harness.SERVER = server_whose_certificate_wine_accepts(scratch)
        linux = Platform("Linux", linux_korvane)
        windows = Platform("Windows under Wine", windows_korvane, options.prefix,
                           os.path.join(options.programs, "trust_certificate.exe"))
        passed = run_suite(linux, modules)
        passed = run_suite(windows, modules) and passed
    finally:
        shutil.rmtree(scratch, ignore_errors=True)

    found = differences(linux, windows)
    for difference in found:
        print("DIFFERENT " + difference)
    compared = min(len(linux.runs), len(windows.runs))
    print("Runs compared byte for byte, Linux and Wine: %d; different: %d"
          % (compared, len(found)))
    return 0 if passed and not found else 1


if __name__ == "__main__":
    sys.exit(main())
