"""The end-to-end harness: the sample store as a context manager, and
korvane.exe run against it with the plug-in's settings pointed at it.

KORVANE names korvane.exe (CTest sets it); without it the debug build's is
used. The plug-in is the liborvel.so next to it.
"""

import dataclasses
import http.client
import json
import os
import re
import shutil
import socket
import ssl
import subprocess
import sys
import tempfile
import time
import urllib.parse

REPOSITORY = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SERVER = os.path.join(REPOSITORY, "tests", "sample_store", "server.py")
PYTHON = "/usr/bin/python3" if os.path.exists("/usr/bin/python3") else sys.executable

# A run uses the host's own folder and whatever Setting.ini is there.
KEEP_HOST_FOLDER = object()


def korvane_path():
    path = os.environ.get("KORVANE") or os.path.join(
        REPOSITORY, "build", "debug", "bin", "korvane.exe")
    if not os.path.isfile(path):
        raise RuntimeError("korvane.exe not found at %s (build first, or set KORVANE)" % path)
    return path


def closed_port():
    """A port on 127.0.0.1 where nothing listens (connections are refused)."""
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


class SampleStore:
    """Starts tests/sample_store/server.py, waits until it answers, and
    stops it on exit. `host` is "127.0.0.1:PORT", `ca_file` its certificate.
    `faults` maps a path (or path?query) to fault fields, set at start."""

    def __init__(self, root=None, faults=None, image_host="images.books.example",
                 lifetime=300, start_timeout=15):
        self.root = root
        self.faults = faults
        self.image_host = image_host
        self.lifetime = lifetime
        self.start_timeout = start_timeout
        self.process = None
        self.port = None

    @property
    def host(self):
        return "127.0.0.1:%d" % self.port

    def __enter__(self):
        self.folder = tempfile.mkdtemp(prefix="e2e-store-")
        self.ca_file = os.path.join(self.folder, "ca.pem")
        port_file = os.path.join(self.folder, "port")
        self.log_file = os.path.join(self.folder, "store.log")
        command = [PYTHON, SERVER, "--ca-out", self.ca_file, "--port-file", port_file,
                   "--lifetime", str(self.lifetime), "--image-host", self.image_host]
        if self.root is not None:
            command += ["--root", self.root]
        if self.faults:
            faults_file = os.path.join(self.folder, "faults.json")
            with open(faults_file, "w", encoding="utf-8") as file:
                json.dump(self.faults, file)
            command += ["--faults", faults_file]
        with open(self.log_file, "wb") as log:
            self.process = subprocess.Popen(command, stdin=subprocess.DEVNULL,
                                            stdout=log, stderr=subprocess.STDOUT)
        try:
            self._wait_until_answering(port_file)
        except BaseException:
            self.__exit__(None, None, None)
            raise
        return self

    def _wait_until_answering(self, port_file):
        deadline = time.monotonic() + self.start_timeout
        while time.monotonic() < deadline:
            if self.process.poll() is not None:
                raise RuntimeError("the sample store exited with %d:\n%s"
                                   % (self.process.returncode, self.store_log()))
            if self.port is None and os.path.exists(port_file):
                with open(port_file, encoding="ascii") as file:
                    self.port = int(file.read())
            if self.port is not None:
                try:
                    self.stats()
                    return
                except (OSError, http.client.HTTPException):
                    pass
            time.sleep(0.05)
        raise RuntimeError("the sample store did not answer within %ss:\n%s"
                           % (self.start_timeout, self.store_log()))

    def __exit__(self, *exception):
        if self.process is not None and self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        shutil.rmtree(self.folder, ignore_errors=True)
        return False

    def store_log(self):
        try:
            with open(self.log_file, encoding="utf-8", errors="replace") as file:
                return file.read()
        except OSError:
            return ""

    def tls_context(self):
        return ssl.create_default_context(cafile=self.ca_file)

    def connect(self, timeout=5):
        """An HTTPS connection to the store, for tests of the store itself."""
        return http.client.HTTPSConnection("127.0.0.1", self.port, timeout=timeout,
                                           context=self.tls_context())

    def control(self, command, **fields):
        connection = self.connect()
        try:
            query = urllib.parse.urlencode({k: v for k, v in fields.items() if v is not None})
            connection.request("GET", "/__control/%s?%s" % (command, query))
            response = connection.getresponse()
            answer = json.loads(response.read())
            if response.status != 200:
                raise RuntimeError("store control %s: %s" % (command, answer))
            return answer
        finally:
            connection.close()

    def set_fault(self, path, mode, **fields):
        """mode: an HTTP status ("404", "500"), hang, drop, redirect (url=,
        status=), large (size=), slow (delay=, chunk=); times=N limits it to
        the next N requests."""
        self.control("fault", path=path, mode=mode, **fields)

    def clear_fault(self, path):
        self.control("clear", path=path)

    def reset(self):
        """Back to the faults given at start; the counters and the request
        log start again."""
        self.control("reset")

    def stats(self):
        """{"connections", "requests", "handshake_failures", "log": [{"connection",
        "method", "target", "path", "status", "fault"}, ...]}"""
        return self.control("stats")

    def targets(self):
        """The request targets the store has seen, in order."""
        return [entry["target"] for entry in self.stats()["log"]]


@dataclasses.dataclass
class KorvaneRun:
    returncode: int
    stdout: str
    stderr: str
    messages: list  # the message boxes shown, as UTF-8 texts
    output: bytes  # the output file's bytes (Shift-JIS), None when there is none
    elapsed: float

    @property
    def output_text(self):
        return None if self.output is None else self.output.decode("cp932")


def read_messages(path):
    """The message log: one message a line; a message's own line breaks are
    CR LF, the line after each message a lone LF."""
    try:
        with open(path, "rb") as file:
            text = file.read().decode("utf-8")
    except FileNotFoundError:
        return []
    if text.endswith("\n"):
        text = text[:-1]
    return re.split(r"(?<!\r)\n", text) if text else []


def run_korvane(codes, work_dir, store=None, extra_env=None, args=(), timeout=60,
                out=None, setting_ini=KEEP_HOST_FOLDER):
    """Runs korvane.exe on `codes` (a list of texts joined with CR LF, or the
    bytes of the code list) in `work_dir`, with the ORVEL_* settings pointed at
    `store`. `extra_env` adds or (with None) removes variables; `out` is the
    output path (default: books.csv in the work folder). `setting_ini`: left
    out, the host runs from its build folder; None or bytes, it runs from a
    private copy of its folder with no Setting.ini or with these bytes."""
    scratch = tempfile.mkdtemp(prefix="e2e-run-")
    try:
        korvane = korvane_path()
        if setting_ini is not KEEP_HOST_FOLDER:
            korvane = private_host_copy(korvane, os.path.join(scratch, "bin"), setting_ini)
        codes_file = os.path.join(scratch, "codes.txt")
        with open(codes_file, "wb") as file:
            file.write(codes if isinstance(codes, bytes) else "\r\n".join(codes).encode("cp932"))
        message_log = os.path.join(scratch, "messages.log")

        environment = {k: v for k, v in os.environ.items() if not k.startswith("ORVEL_")}
        if store is not None:
            environment.update(ORVEL_STORE_HOST=store.host, ORVEL_IMAGE_HOST=store.image_host,
                               ORVEL_CA_FILE=store.ca_file)
        environment.update(ORVEL_CONNECT_TIMEOUT_S="5", ORVEL_TIMEOUT_S="10",
                           ORVEL_MESSAGE_LOG=message_log)
        for name, value in (extra_env or {}).items():
            if value is None:
                environment.pop(name, None)
            else:
                environment[name] = value

        command = [korvane, "--work", work_dir]
        if out is not None:
            command += ["--out", out]
        command += list(args) + [codes_file]
        started = time.monotonic()
        finished = subprocess.run(command, env=environment, stdin=subprocess.DEVNULL,
                                  capture_output=True, timeout=timeout)
        elapsed = time.monotonic() - started

        output_path = out if out is not None else os.path.join(work_dir, "books.csv")
        try:
            with open(output_path, "rb") as file:
                output = file.read()
        except (FileNotFoundError, NotADirectoryError):
            output = None
        return KorvaneRun(finished.returncode,
                          finished.stdout.decode("utf-8", "replace"),
                          finished.stderr.decode("utf-8", "replace"),
                          read_messages(message_log), output, elapsed)
    finally:
        shutil.rmtree(scratch, ignore_errors=True)


def private_host_copy(korvane, folder, setting_ini):
    """korvane.exe and the plug-in copied to `folder`, with Setting.ini
    (bytes, or a text written in Shift-JIS) or without one."""
    os.makedirs(folder)
    source = os.path.dirname(korvane)
    for name in (os.path.basename(korvane), "liborvel.so"):
        shutil.copy2(os.path.join(source, name), os.path.join(folder, name))
    if setting_ini is not None:
        data = setting_ini if isinstance(setting_ini, bytes) else setting_ini.encode("cp932")
        with open(os.path.join(folder, "Setting.ini"), "wb") as file:
            file.write(data)
    return os.path.join(folder, os.path.basename(korvane))
