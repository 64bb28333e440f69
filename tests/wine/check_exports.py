"""The Windows binaries' tables as objdump shows them: orvel.dll exports
exactly funcGetInfo and DownlaodFunc, undecorated, and korvane.exe the
host's sixteen services; both import system DLLs only (the C and C++
runtimes are linked in).

    check_exports.py OBJDUMP ORVEL_DLL KORVANE_EXE
"""

import re
import subprocess
import sys

SERVICES = {
    "InternetConnectFunc", "HTTPDownloadFunc", "HTTPBinaryDownloadFunc", "HTTPFlagDownloadFunc",
    "RefreshFunc", "ExportFunc", "InportFunc", "ISBNChkFunc", "JANChkFunc", "ASINChkFunc",
    "PluginListFunc", "AcquireCDShow", "WaitWindowView", "WaitBarView", "WaitWindowClose",
    "SelectExportFunc",
}
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "comctl32.dll", "wininet.dll",
               "msvcrt.dll", "advapi32.dll", "crypt32.dll", "shell32.dll", "ole32.dll"}


def tables(objdump, binary):
    text = subprocess.run([objdump, "-p", binary], capture_output=True, text=True,
                          check=True).stdout
    exports = set(re.findall(r"^\s+\[\s*\d+\]\s+(\S+)$", text.split("[Ordinal/Name Pointer] Table")[-1],
                             re.MULTILINE)) if "[Ordinal/Name Pointer] Table" in text else set()
    imports = {name.lower() for name in re.findall(r"DLL Name: (\S+)", text)}
    return exports, imports


def main(objdump, plugin, host):
    failures = 0
    for binary, expected in ((plugin, {"funcGetInfo", "DownlaodFunc"}), (host, SERVICES)):
        exports, imports = tables(objdump, binary)
        print("%s\n  exports: %s\n  imports: %s" % (binary, " ".join(sorted(exports)),
                                                   " ".join(sorted(imports))))
        if exports != expected:
            print("  WRONG EXPORTS: missing %s, unexpected %s"
                  % (sorted(expected - exports), sorted(exports - expected)))
            failures += 1
        if not imports <= SYSTEM_DLLS:
            print("  NOT A SYSTEM DLL: %s" % sorted(imports - SYSTEM_DLLS))
            failures += 1
    print("%d passed, %d failed" % (4 - failures, failures))
    return 1 if failures else 0


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    sys.exit(main(*sys.argv[1:]))
