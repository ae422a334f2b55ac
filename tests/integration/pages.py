"""Web pages of a test's own, beside the harness's three hosts: a server on
a free port of 127.0.0.1, or on a port it is given (HTTPS with a
certificate made for the run, if asked), that serves the pages it is given
and records every request with its headers, and helpers to load a page in
the main window's browser."""

import errno
import http.server
import os
import ssl
import subprocess
import sys
import threading
import time
import urllib.parse

from harness import PORTS_TIMEOUT, wait_for

# What the kernel calls WebKit's web processes (names are cut to 15 bytes).
WEB_PROCESS_NAME = "WebKitWebProces"

# The address box and a point well inside the browser, in client pixels of the main window.
TEXT1 = (384, 8, 329, 18)
IN_BROWSER = (500, 400)


def coloured_page(title, colour, extra=""):
    """A page filled with one colour (so a screenshot tells it), titled `title`."""
    red, green, blue = colour
    return (f"<!DOCTYPE html><html><head><meta charset='utf-8'><title>{title}</title>"
            f"<style>html, body {{ margin: 0; height: 100%; background: rgb({red}, {green}, {blue}); }}</style>"
            f"</head><body>{extra}</body></html>")


class Response:
    """`declared_length`, when given, is the Content-Length sent instead of the
    body's: a longer one makes a response that breaks off."""

    def __init__(self, body, content_type="text/html; charset=utf-8", status=200, headers=(),
                 declared_length=None):
        self.body = body.encode() if isinstance(body, str) else body
        self.content_type = content_type
        self.status = status
        self.headers = list(headers)
        self.declared_length = len(self.body) if declared_length is None else declared_length


class _QuietServer(http.server.ThreadingHTTPServer):
    """A browser that drops a connection (a newer load cancels an older one) is no error here."""

    daemon_threads = True

    def handle_error(self, request, client_address):
        if not isinstance(sys.exc_info()[1], ConnectionError):
            super().handle_error(request, client_address)


class PageServer:
    """Serves `pages`, a dict from a path (without its query) to a Response or
    to a function of the request handler that returns one, on `port` (0: a
    free one), at the loopback address `host`. Every request is recorded as
    (path with query, headers)."""

    def __init__(self, pages, certificate=None, port=0, host="127.0.0.1"):
        self._pages = pages
        self._host = host
        self._certificate = certificate
        self._port = port
        self._requests = []
        self._changed = threading.Condition()
        self._server = None
        self._thread = None

    def __enter__(self):
        # A fixed port may be held by another run on the machine until it ends.
        self._server = wait_for(self._bind, PORTS_TIMEOUT, f"port {self._port} to be free")
        if self._certificate:
            context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
            context.load_cert_chain(*self._certificate)
            self._server.socket = context.wrap_socket(self._server.socket, server_side=True)
        self._thread = threading.Thread(target=self._server.serve_forever, name="pages", daemon=True)
        self._thread.start()
        return self

    def _bind(self):
        try:
            return _QuietServer((self._host, self._port), self._handler_class())
        except OSError as e:
            if e.errno != errno.EADDRINUSE:
                raise
            return None

    def __exit__(self, *exc):
        self._server.shutdown()
        self._server.server_close()
        self._thread.join()

    @property
    def port(self):
        return self._server.server_port

    def url(self, path):
        scheme = "https" if self._certificate else "http"
        return f"{scheme}://{self._host}:{self.port}{path}"

    def _handler_class(self):
        server = self

        class Handler(http.server.BaseHTTPRequestHandler):
            def do_GET(self):
                server._record(self.path, dict(self.headers))
                page = server._pages.get(urllib.parse.urlsplit(self.path).path)
                if callable(page):
                    page = page(self)
                if page is None:
                    page = Response("not found", "text/plain", 404)
                self.send_response(page.status)
                self.send_header("Content-Type", page.content_type)
                self.send_header("Cache-Control", "no-store")
                self.send_header("Content-Length", str(page.declared_length))
                for name, value in page.headers:
                    self.send_header(name, value)
                self.end_headers()
                self.wfile.write(page.body)

            def log_message(self, *args):
                pass

        return Handler

    def _record(self, path, headers):
        with self._changed:
            self._requests.append((path, headers))
            self._changed.notify_all()

    def requests(self):
        with self._changed:
            return list(self._requests)

    def clear_requests(self):
        with self._changed:
            self._requests.clear()

    def paths(self):
        return [path for path, _ in self.requests()]

    def wait_for_request(self, predicate, timeout, what):
        """The first recorded (path, headers) for which `predicate(path, headers)` holds."""
        deadline = time.monotonic() + timeout
        with self._changed:
            while True:
                for path, headers in self._requests:
                    if predicate(path, headers):
                        return path, headers
                remaining = deadline - time.monotonic()
                if remaining <= 0:
                    raise AssertionError(f"timed out after {timeout} s waiting for {what}; "
                                         f"requests: {[p for p, _ in self._requests]}")
                self._changed.wait(remaining)

    def wait_for_path(self, path, timeout=30):
        return self.wait_for_request(lambda p, _: p == path, timeout, f"a request of {path}")


def self_signed_certificate(folder, days=2):
    """A certificate for 127.0.0.1 signed by nobody the browser trusts, made
    with openssl in `folder`, that ends `days` from now (a negative number:
    expired); returns (certificate file, key file)."""
    request, certificate, key = (os.path.join(folder, f"{name}{days:+d}.pem")
                                 for name in ("request", "certificate", "key"))
    for command in (["req", "-new", "-newkey", "rsa:2048", "-nodes", "-subj", "/CN=127.0.0.1",
                     "-addext", "subjectAltName=IP:127.0.0.1", "-keyout", key, "-out", request],
                    # Only this one takes a number of days below one.
                    ["x509", "-req", "-in", request, "-signkey", key, "-days", str(days), "-copy_extensions", "copy",
                     "-out", certificate]):
        subprocess.run(["openssl", *command], check=True, capture_output=True, timeout=60)
    return certificate, key


def load_in_browser(test, address):
    """Types `address` into the main window's address box and presses Return."""
    x, y, width, height = TEXT1
    test.click_client(x + width // 2, y + height // 2)
    test.screen.key("ctrl+a")
    test.screen.type(address)
    test.screen.key("Return")


def browser_colour_is(test, colour, what, timeout=30, point=IN_BROWSER):
    test.screen.wait_for_pixel(*test.client_point(*point), lambda p: p == colour, timeout=timeout, what=what)


def web_processes(group):
    """{pid: resident kB} of the web processes in the process group `group` (the program's)."""
    found = {}
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/comm") as f:
                if f.read().strip() != WEB_PROCESS_NAME or os.getpgid(int(entry)) != group:
                    continue
            with open(f"/proc/{entry}/status") as f:
                rss = next(int(line.split()[1]) for line in f if line.startswith("VmRSS:"))
            found[int(entry)] = rss
        except (OSError, ProcessLookupError, StopIteration):
            continue
    return found


def process_age(pid):
    """Seconds since the process `pid` started, or 0 when it is gone."""
    try:
        with open(f"/proc/{pid}/stat") as f:
            # The start time is the 22nd field, counted after the name in parentheses.
            started = int(f.read().rpartition(")")[2].split()[19]) / os.sysconf("SC_CLK_TCK")
        with open("/proc/uptime") as f:
            return float(f.read().split()[0]) - started
    except (OSError, IndexError, ValueError):
        return 0
