"""Running Windows programs of the build under Wine, headless, in a prefix of
the suite's own.

The prefix lives in the build folder, uses Wine's null graphics driver (the
plug-in's hidden window needs a window system, not a display) and keeps one
wineserver for the whole suite. Code page 932 is the ANSI code page because
every program runs with LC_ALL=ja_JP.UTF-8.

    python3 wine.py create PREFIX PROGRAM    (CTest fixture set-up)
    python3 wine.py stop PREFIX              (CTest fixture clean-up)
    python3 wine.py run PREFIX PROGRAM ARGS  (one test program)
"""

import os
import shutil
import struct
import subprocess
import sys

# ctest skips a test that exits with this status.
SKIPPED = 77

WINE_LOADERS = {
    "x86_64": ["/usr/lib/wine/wine64", "wine64", "wine"],
    "i386": ["/usr/lib/wine/wine", "wine"],
}


def machine_of(program):
    """"i386" or "x86_64": the machine a Windows program is built for."""
    with open(program, "rb") as file:
        header = file.read(4096)
    if header[:2] != b"MZ":
        raise ValueError("%s is not a Windows program" % program)
    (pe_offset,) = struct.unpack_from("<I", header, 0x3C)
    (machine,) = struct.unpack_from("<H", header, pe_offset + 4)
    return {0x14C: "i386", 0x8664: "x86_64"}[machine]


def is_windows_program(path):
    try:
        with open(path, "rb") as file:
            return file.read(2) == b"MZ"
    except OSError:
        return False


def loader_for(program):
    """The Wine loader that starts `program` (WINE overrides it)."""
    if os.environ.get("WINE"):
        return os.environ["WINE"]
    for candidate in WINE_LOADERS[machine_of(program)]:
        found = shutil.which(candidate)
        if found:
            return found
    raise RuntimeError("no Wine found for %s (apt-get install wine)" % program)


def environment(prefix, base=None):
    """The environment for programs run in `prefix`."""
    env = dict(os.environ if base is None else base)
    env.update(WINEPREFIX=os.path.abspath(prefix), WINEDEBUG="-all",
               WINEDLLOVERRIDES="mscoree,mshtml=", LC_ALL="ja_JP.UTF-8")
    env.pop("DISPLAY", None)
    return env


def command(program, *arguments):
    return [loader_for(program), program, *arguments]


def cannot_run_reason(program):
    """Why Wine cannot start `program` on this machine, or None. A 32-bit
    program needs a kernel that runs 32-bit code and Debian's wine32."""
    loader = loader_for(program)
    try:
        subprocess.run([loader, "--version"], capture_output=True, check=True, timeout=30)
    except (OSError, subprocess.CalledProcessError) as error:
        return "%s cannot start here (%s): a %s Wine is needed" % (
            loader, error, machine_of(program))
    return None


def wineserver_for(_environment):
    for candidate in ["/usr/lib/wine/wineserver64", "/usr/lib/wine/wineserver", "wineserver"]:
        found = shutil.which(candidate)
        if found:
            return found
    raise RuntimeError("no wineserver found")


def create(prefix, program):
    """Makes `prefix` ready for `program`'s machine: a fresh prefix with the
    null graphics driver, and a wineserver with Wine's own services that stay
    for the suite (started here, so that they hold no test's output pipes)."""
    env = environment(prefix)
    quiet = dict(env=env, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                 stderr=subprocess.DEVNULL, timeout=300)
    stop(prefix)
    shutil.rmtree(prefix, ignore_errors=True)
    os.makedirs(prefix)
    loader = loader_for(program)
    server = wineserver_for(env)
    subprocess.run([loader, "wineboot", "-i"], check=True, **quiet)
    subprocess.run([loader, "reg", "add", r"HKCU\Software\Wine\Drivers", "/v", "Graphics",
                    "/d", "null", "/f"], check=True, **quiet)
    # The driver is chosen when the desktop starts: start again with it.
    subprocess.run([server, "-w"], **quiet)
    subprocess.run([server, "-p"], check=True, **quiet)
    subprocess.run([loader, "wineboot"], check=True, **quiet)


def run(prefix, program, arguments):
    """Runs a Windows program of the build in `prefix`; its exit status."""
    reason = cannot_run_reason(program)
    if reason:
        print("skipped: " + reason)
        return SKIPPED
    return subprocess.run(command(program, *arguments), env=environment(prefix),
                          stdin=subprocess.DEVNULL).returncode


def stop(prefix):
    if not os.path.isdir(prefix):
        return
    env = environment(prefix)
    subprocess.run([wineserver_for(env), "-k"], env=env, capture_output=True, timeout=60)


def main(arguments):
    if len(arguments) == 3 and arguments[0] == "create":
        reason = cannot_run_reason(arguments[2])
        if reason:
            print("skipped: " + reason)
            return SKIPPED
        create(arguments[1], arguments[2])
        return 0
    if len(arguments) >= 3 and arguments[0] == "run":
        return run(arguments[1], arguments[2], arguments[3:])
    if len(arguments) == 2 and arguments[0] == "stop":
        stop(arguments[1])
        return 0
    print("usage: wine.py create PREFIX PROGRAM | stop PREFIX | run PREFIX PROGRAM [ARGS]",
          file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
