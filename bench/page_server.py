"""The loopback web server the programs start on: the start page, a
generated page of about 300 KB whose onload asks for /onload, so that the
server sees when the page has loaded."""

import errno
import http.server
import sys
import threading
import time

PAGE_PATH = "/pre.php?r=3141_13_0"
ONLOAD_PATH = "/onload"
PAGE_BYTES = 300 * 1024


def generated_page():
    """An HTML page of at least PAGE_BYTES: a style sheet, a table of games
    with Chinese and Latin text, and the onload report."""
    head = ("<!DOCTYPE html><html><head><meta charset='utf-8'><title>傲视天地</title><style>"
            "body{font:14px sans-serif;margin:8px;background:#f4f8ff}"
            "table{border-collapse:collapse;width:100%}"
            "td{border:1px solid #9ab;padding:2px 6px}"
            "tr:nth-child(odd){background:#e8eef8}"
            ".n{color:#a33;text-align:right}"
            "</style><script>"
            "window.addEventListener('load', function () {"
            f" fetch('{ONLOAD_PATH}', {{cache: 'no-store'}}); }});"
            "</script></head><body><h1>傲视天地</h1><table>")
    tail = "</table></body></html>"
    rows = []
    size = len(head.encode()) + len(tail.encode())
    n = 0
    while size < PAGE_BYTES:
        row = (f"<tr><td class='n'>{n}</td><td>第{n}服 傲视天地 新区开放</td>"
               f"<td>server {n:05d}.game.example</td><td>{(n * 37) % 1000} 人在线</td></tr>")
        rows.append(row)
        size += len(row.encode())
        n += 1
    return (head + "".join(rows) + tail).encode()


class _QuietServer(http.server.ThreadingHTTPServer):
    """A browser that drops a connection (a newer load cancels an older one) is no error here."""

    def handle_error(self, request, client_address):
        if not isinstance(sys.exc_info()[1], ConnectionError):
            super().handle_error(request, client_address)


class PageServer:
    """Serves the start page on 127.0.0.1:`port`; records the time of the
    first request for the page and of the onload report since the last
    reset()."""

    def __init__(self, port, bind_timeout=240):
        self._port = port
        self._bind_timeout = bind_timeout
        self._page = generated_page()
        self._events = {}
        self._changed = threading.Condition()
        self._server = None
        self._thread = None

    @property
    def page_size(self):
        return len(self._page)

    def __enter__(self):
        # The integration tests use the same port; wait for a run of them to end.
        deadline = time.monotonic() + self._bind_timeout
        while self._server is None:
            try:
                self._server = _QuietServer(("127.0.0.1", self._port), self._handler())
            except OSError as e:
                if e.errno != errno.EADDRINUSE or time.monotonic() > deadline:
                    raise
                time.sleep(1)
        self._server.daemon_threads = True
        self._thread = threading.Thread(target=self._server.serve_forever, name="page-server", daemon=True)
        self._thread.start()
        return self

    def __exit__(self, *exc):
        self._server.shutdown()
        self._server.server_close()
        self._thread.join()

    def reset(self):
        with self._changed:
            self._events.clear()

    def wait(self, name, alive, timeout):
        """The time of event `name` ("page" or "onload"); None when `alive()`
        turns false or `timeout` seconds pass first."""
        deadline = time.monotonic() + timeout
        with self._changed:
            while name not in self._events:
                if not alive() or time.monotonic() > deadline:
                    return None
                self._changed.wait(0.05)
            return self._events[name]

    def _record(self, name):
        when = time.monotonic()
        with self._changed:
            self._events.setdefault(name, when)
            self._changed.notify_all()

    def _handler(self):
        server = self

        class Handler(http.server.BaseHTTPRequestHandler):
            def do_GET(self):
                if self.path == PAGE_PATH:
                    server._record("page")
                    self._reply(200, server._page, "text/html; charset=utf-8")
                elif self.path.startswith(ONLOAD_PATH):
                    server._record("onload")
                    self._reply(204, b"", "text/plain")
                else:
                    self._reply(404, b"", "text/plain")

            def _reply(self, status, body, content_type):
                self.send_response(status)
                self.send_header("Content-Type", content_type)
                self.send_header("Content-Length", str(len(body)))
                self.send_header("Cache-Control", "no-store")
                self.end_headers()
                self.wfile.write(body)

            def log_message(self, *args):
                pass

        return Handler
