#!/usr/bin/python3
"""The sample store: a small HTTPS bookstore on 127.0.0.1 for the tests.

It serves result pages for /search?sitem=CODE and item pages for /item/NAME
from fixture files, in EUC-JP, over HTTP/1.1 with keep-alive, and can be
told per path to fail in the ways a real store fails. It counts connections
and requests so that tests can see how the plug-in talks to it. Python 3's
standard library only; the certificate is made by openssl at start.

Layout and control endpoints: see README.md beside this file.
"""

import argparse
import copy
import http.server
import json
import os
import re
import shutil
import signal
import socket
import socketserver
import ssl
import subprocess
import sys
import tempfile
import threading
import time
import urllib.parse

HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT_ROOT = os.path.join(HERE, "pages")
CONTENT_TYPE = "text/html; charset=EUC-JP"
CONTROL_PREFIX = "/__control/"
# Codes that may name a fixture file; anything else gets the "no results" page.
FIXTURE_NAME = re.compile(r"[A-Za-z0-9][A-Za-z0-9._-]*")
MAX_LOG_ENTRIES = 100000
CHUNK_SIZE = 65536

# Characters that look right in UTF-8 but have no EUC-JP form, and the ones
# to write instead.
EUC_JP_LOOKALIKES = {
    "\uff5e": "\u301c",  # ～ -> 〜
    "\uff0d": "\u2212",  # － -> −
    "\u2225": "\u2016",  # ∥ -> ‖
    "\uffe0": "\u00a2",  # ￠ -> ¢
    "\uffe1": "\u00a3",  # ￡ -> £
    "\uffe2": "\u00ac",  # ￢ -> ¬
    "\u2014": "\u2015",  # — -> ―
}

FAULT_MODES = ("hang", "drop", "redirect", "large", "slow")


class FixtureError(Exception):
    """A fixture that cannot be served as written."""


def encode_fixture(path, text):
    """Encodes the text of a .html fixture as EUC-JP, naming the file, line
    and character when one cannot be encoded."""
    try:
        return text.encode("euc_jp")
    except UnicodeEncodeError as error:
        character = error.object[error.start]
        line = error.object.count("\n", 0, error.start) + 1
        message = "%s:%d: character U+%04X %r has no EUC-JP form" % (
            path, line, ord(character), character)
        if character in EUC_JP_LOOKALIKES:
            replacement = EUC_JP_LOOKALIKES[character]
            message += "; write U+%04X %r instead" % (ord(replacement), replacement)
        raise FixtureError(message) from None


def load_fixture(path, placeholders):
    """The bytes served for a fixture file: .html is UTF-8 text served as
    EUC-JP, .bin is served as it is; placeholders are filled in both."""
    with open(path, "rb") as file:
        raw = file.read()
    if path.endswith(".bin"):
        for name, value in placeholders.items():
            raw = raw.replace(name.encode("ascii"), value.encode("ascii"))
        return raw
    try:
        text = raw.decode("utf-8")
    except UnicodeDecodeError as error:
        raise FixtureError("%s: not UTF-8 at byte %d" % (path, error.start)) from None
    for name, value in placeholders.items():
        text = text.replace(name, value)
    return encode_fixture(path, text)


def check_fixtures(root, placeholders):
    """Loads every fixture once, so that a broken one stops the store at
    start instead of failing a test in a puzzling way."""
    problems = []
    for folder, _, names in os.walk(root):
        for name in sorted(names):
            if name.endswith(".html") or name.endswith(".bin"):
                try:
                    load_fixture(os.path.join(folder, name), placeholders)
                except FixtureError as error:
                    problems.append(str(error))
    return problems


class Fault:
    """What the store does instead of answering normally on one path."""

    def __init__(self, mode, url="", size=0, delay=1.0, chunk=64, status=302, times=0):
        if not (mode in FAULT_MODES or (mode.isdigit() and 100 <= int(mode) <= 599)):
            raise ValueError("unknown fault mode %r" % mode)
        if mode == "redirect" and not url:
            raise ValueError("a redirect needs url")
        if mode == "large" and size <= 0:
            raise ValueError("large needs size")
        self.mode = mode
        self.url = url
        self.size = size
        self.delay = delay
        self.chunk = max(1, chunk)
        self.status = status
        self.times = times  # 0: for every request; otherwise for that many

    @classmethod
    def from_fields(cls, fields):
        def number(name, default, kind=int):
            value = fields.get(name)
            return default if value in (None, "") else kind(value)
        return cls(str(fields.get("mode", "")),
                   url=str(fields.get("url", "")),
                   size=number("size", 0),
                   delay=number("delay", 1.0, float),
                   chunk=number("chunk", 64),
                   status=number("status", 302),
                   times=number("times", 0))


class StoreState:
    """Faults and counters, shared by the request threads."""

    def __init__(self, start_faults=None):
        self.lock = threading.Lock()
        self.start_faults = dict(start_faults or {})
        self.faults = {}
        self.reset()

    def reset(self):
        """Back to the state at start: the faults given then, no counts."""
        self.faults = {target: copy.copy(fault) for target, fault in self.start_faults.items()}
        self.reset_counters()

    def reset_counters(self):
        self.connections = 0
        self.requests = 0
        self.handshake_failures = 0
        self.log = []

    def take_fault(self, target, path):
        """The fault for the full target (path and query) or, failing that,
        for the path alone; counts down a fault limited to some requests."""
        with self.lock:
            for key in (target, path):
                fault = self.faults.get(key)
                if fault is None:
                    continue
                if fault.times > 0:
                    fault.times -= 1
                    if fault.times == 0:
                        del self.faults[key]
                return fault
        return None

    def stats(self):
        with self.lock:
            return {
                "connections": self.connections,
                "requests": self.requests,
                "handshake_failures": self.handshake_failures,
                "log": list(self.log),
            }


class StoreServer(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = False

    def __init__(self, address, tls_context, root, image_host, lifetime, faults):
        super().__init__(address, StoreHandler)
        self.tls_context = tls_context
        self.root = root
        self.state = StoreState(faults)
        self.stopping = threading.Event()
        self.lifetime = lifetime
        self.placeholders = {
            "{{STORE}}": "127.0.0.1:%d" % self.server_address[1],
            "{{IMAGES}}": image_host,
        }
        self.next_connection = 0
        self.connection_lock = threading.Lock()

    def get_request(self):
        # The handshake happens in the connection's own thread, so that a
        # client that never speaks cannot block the others.
        connection, address = self.socket.accept()
        # Headers and body go out in separate writes; without this each
        # answer waits for the client's delayed acknowledgement.
        connection.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
        tls = self.tls_context.wrap_socket(
            connection, server_side=True, do_handshake_on_connect=False)
        return tls, address

    def new_connection_id(self):
        with self.connection_lock:
            self.next_connection += 1
            return self.next_connection

    def handle_error(self, request, client_address):
        if isinstance(sys.exc_info()[1], OSError):
            return  # clients that go away or fail the handshake are expected
        super().handle_error(request, client_address)


class StoreHandler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "SampleStore/1.0"
    sys_version = ""
    timeout = 30  # an idle keep-alive connection ends after this

    def setup(self):
        super().setup()
        self.connection_id = self.server.new_connection_id()
        self.carried_store_request = False
        try:
            self.connection.do_handshake()
        except (ssl.SSLError, OSError):
            with self.server.state.lock:
                self.server.state.handshake_failures += 1
            raise

    def log_message(self, format, *args):
        pass  # the request log in the stats says what happened

    # --- dispatch -----------------------------------------------------

    def do_GET(self):
        target = self.path
        path, _, query = target.partition("?")
        if path.startswith(CONTROL_PREFIX):
            self.control(path[len(CONTROL_PREFIX):], query)
            return
        entry = self.record(target, path)
        fault = self.server.state.take_fault(target, path)
        if fault is not None:
            entry["fault"] = fault.mode
            self.apply_fault(fault, path, query, entry)
            return
        body = self.page_for(path, query)
        if body is None:
            self.send_page(entry, 404, error_page("404 Not Found"))
        else:
            self.send_page(entry, 200, body)

    def record(self, target, path):
        state = self.server.state
        entry = {"connection": self.connection_id, "method": self.command,
                 "target": target, "path": path, "status": None, "fault": None}
        with state.lock:
            if not self.carried_store_request:
                self.carried_store_request = True
                state.connections += 1
            state.requests += 1
            if len(state.log) < MAX_LOG_ENTRIES:
                state.log.append(entry)
        return entry

    def page_for(self, path, query):
        """The fixture bytes for a store path, or None for 404."""
        if path == "/search":
            page = self.fixture("search", search_code(query))
            if page is None:
                page = self.fixture("search", "_none")
            return page
        if path.startswith("/item/"):
            return self.fixture("item", urllib.parse.unquote(path[len("/item/"):]))
        return None

    def fixture(self, folder, name):
        """The bytes of folder/NAME.html or folder/NAME.bin, or None."""
        if not FIXTURE_NAME.fullmatch(name) and name != "_none":
            return None
        for suffix in (".html", ".bin"):
            file = os.path.join(self.server.root, folder, name + suffix)
            if os.path.isfile(file):
                return self.load(file)
        return None

    def load(self, file):
        try:
            return load_fixture(file, self.server.placeholders)
        except FixtureError as error:
            print("sample store: %s" % error, file=sys.stderr, flush=True)
            return error_page("fixture error: %s" % error)

    # --- answers ------------------------------------------------------

    def send_page(self, entry, status, body, extra_headers=()):
        entry["status"] = status
        self.send_response(status)
        self.send_header("Content-Type", CONTENT_TYPE)
        self.send_header("Content-Length", str(len(body)))
        for name, value in extra_headers:
            self.send_header(name, value)
        self.end_headers()
        self.wfile.write(body)

    def apply_fault(self, fault, path, query, entry):
        mode = fault.mode
        if mode.isdigit():
            status = int(mode)
            self.send_page(entry, status, error_page("%d error" % status))
        elif mode == "hang":
            # Accept and never answer; the client's time-out ends it.
            self.server.stopping.wait(self.server.lifetime)
            self.close_connection = True
        elif mode == "redirect":
            url = fault.url
            for name, value in self.server.placeholders.items():
                url = url.replace(name, value)
            self.send_page(entry, fault.status, error_page("moved"),
                           [("Location", url)])
        elif mode == "drop":
            body = self.page_for(path, query) or error_page("dropped")
            entry["status"] = 200
            self.send_response(200)
            self.send_header("Content-Type", CONTENT_TYPE)
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body[:len(body) // 2])
            self.close_connection = True  # closed short of the length announced
        elif mode == "large":
            self.send_large(entry, self.page_for(path, query) or minimal_item_page(), fault.size)
        elif mode == "slow":
            body = self.page_for(path, query) or error_page("slow")
            entry["status"] = 200
            self.send_response(200)
            self.send_header("Content-Type", CONTENT_TYPE)
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            for start in range(0, len(body), fault.chunk):
                if self.server.stopping.wait(fault.delay):
                    break
                self.wfile.write(body[start:start + fault.chunk])

    def send_large(self, entry, page, size):
        """The page padded with comment lines before its closing tags, to
        `size` bytes in all (the page as it is when it is already larger),
        sent in pieces so that the store's memory stays small."""
        cut = page.rfind(b"</body>")
        if cut < 0:
            cut = len(page)
        head, tail = page[:cut], page[cut:]
        padding = max(0, size - len(page))
        entry["status"] = 200
        self.send_response(200)
        self.send_header("Content-Type", CONTENT_TYPE)
        self.send_header("Content-Length", str(len(page) + padding))
        self.end_headers()
        self.wfile.write(head)
        line = b"<!--" + b"." * 91 + b"-->\n"  # 99 bytes of nothing a rule looks for
        block = line * (CHUNK_SIZE // len(line))
        while padding >= len(block):
            self.wfile.write(block)
            padding -= len(block)
        self.wfile.write(block[:padding])
        self.wfile.write(tail)

    # --- control ------------------------------------------------------

    def control(self, command, query):
        fields = dict(urllib.parse.parse_qsl(query, keep_blank_values=True))
        state = self.server.state
        status, answer = 200, {"ok": True}
        if command == "stats":
            answer = state.stats()
        elif command == "fault":
            try:
                fault = Fault.from_fields(fields)
                if not fields.get("path", "").startswith("/"):
                    raise ValueError("path must begin with /")
            except ValueError as error:
                status, answer = 400, {"ok": False, "error": str(error)}
            else:
                with state.lock:
                    state.faults[fields["path"]] = fault
        elif command == "clear":
            with state.lock:
                state.faults.pop(fields.get("path", ""), None)
        elif command == "reset":
            with state.lock:
                state.reset()
        else:
            status, answer = 404, {"ok": False, "error": "unknown control " + command}
        body = json.dumps(answer).encode("utf-8")
        self.send_response(status)
        self.send_header("Content-Type", "application/json")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)


def search_code(query):
    """The value of sitem, percent-decoded; the empty text when absent."""
    for pair in query.split("&"):
        name, _, value = pair.partition("=")
        if name == "sitem":
            return urllib.parse.unquote_to_bytes(value).decode("latin-1")
    return ""


def error_page(text):
    return ("<html><head><title>%s</title></head><body><p>%s</p></body></html>\n"
            % (text, text)).encode("euc_jp", "replace")


def minimal_item_page():
    return ("<html><head><title>item</title></head><body>\n"
            "<h1 itemprop=\"name\">大きな本</h1>\n<p>\n</p>\n</body></html>\n").encode("euc_jp")


def make_certificate(folder):
    """A self-signed certificate for 127.0.0.1 and localhost; it is its own
    CA file for the clients."""
    cert = os.path.join(folder, "cert.pem")
    key = os.path.join(folder, "key.pem")
    subprocess.run(
        ["openssl", "req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
         "-nodes", "-keyout", key, "-out", cert, "-days", "2", "-subj", "/CN=localhost",
         "-addext", "subjectAltName=IP:127.0.0.1,DNS:localhost"],
        check=True, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    return cert, key


def write_atomically(path, text):
    temporary = path + ".part"
    with open(temporary, "w", encoding="ascii") as file:
        file.write(text)
    os.replace(temporary, path)


def load_faults(path):
    """A JSON object: {"/path or /path?query": {"mode": ..., ...}, ...}."""
    with open(path, encoding="utf-8") as file:
        table = json.load(file)
    return {target: Fault.from_fields(fields) for target, fields in table.items()}


def parse_arguments():
    parser = argparse.ArgumentParser(description="The sample store for the end-to-end tests.")
    parser.add_argument("--root", default=DEFAULT_ROOT,
                        help="fixture folder with search/ and item/ (default: pages/ here)")
    parser.add_argument("--ca-out", help="write the certificate (the clients' CA file) here")
    parser.add_argument("--port-file", help="write the port here once listening")
    parser.add_argument("--port", type=int, default=0, help="port (default: an ephemeral one)")
    parser.add_argument("--image-host", default="images.books.example",
                        help="what {{IMAGES}} becomes (default: images.books.example)")
    parser.add_argument("--lifetime", type=float, default=600,
                        help="seconds after which the store exits by itself (default 600)")
    parser.add_argument("--faults", help="JSON file of faults set at start")
    parser.add_argument("--check", action="store_true",
                        help="only check that every fixture can be served, then exit")
    return parser.parse_args()


def main():
    arguments = parse_arguments()
    root = os.path.abspath(arguments.root)
    if arguments.check:
        problems = check_fixtures(root, {"{{STORE}}": "127.0.0.1:1",
                                         "{{IMAGES}}": arguments.image_host})
        for problem in problems:
            print("sample store: %s" % problem, file=sys.stderr)
        return 1 if problems else 0

    folder = tempfile.mkdtemp(prefix="sample-store-")
    try:
        cert, key = make_certificate(folder)
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(cert, key)
        faults = load_faults(arguments.faults) if arguments.faults else {}
        server = StoreServer(("127.0.0.1", arguments.port), context, root,
                             arguments.image_host, arguments.lifetime, faults)
        problems = check_fixtures(root, server.placeholders)
        if problems:
            for problem in problems:
                print("sample store: %s" % problem, file=sys.stderr)
            return 1
        if arguments.ca_out:
            shutil.copyfile(cert, arguments.ca_out)

        stop_requested = threading.Event()
        for number in (signal.SIGTERM, signal.SIGINT):
            signal.signal(number, lambda *_: stop_requested.set())
        parent = os.getppid()
        deadline = time.monotonic() + arguments.lifetime

        def watch():
            # Ends the store at its lifetime, on a signal, or when the
            # process that started it is gone.
            while not stop_requested.wait(0.25):
                if time.monotonic() >= deadline or os.getppid() != parent:
                    break
            server.stopping.set()
            server.shutdown()

        threading.Thread(target=watch, daemon=True).start()
        if arguments.port_file:
            write_atomically(arguments.port_file, "%d\n" % server.server_address[1])
        server.serve_forever(poll_interval=0.1)
        server.server_close()
        return 0
    finally:
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
