"""The start page the programs load: a generated page of about 300 KB whose
onload asks for /onload, and the times at which it was asked for and had
loaded, as seen by the page server that serves it."""

import threading
import time

from pages import Response

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


class StartPage:
    """The pages for a page server (`pages`), and the time of the first request
    for the page ("page") and of the onload report ("onload") since the last
    reset(), each taken as the request arrives."""

    def __init__(self):
        self._page = Response(generated_page())
        self._times = {}
        self._lock = threading.Lock()
        self.pages = {
            PAGE_PATH.split("?")[0]: lambda handler: self._served("page", self._page),
            ONLOAD_PATH: lambda handler: self._served("onload", Response(b"", "text/plain", 204)),
        }

    @property
    def page_size(self):
        return len(self._page.body)

    def reset(self):
        with self._lock:
            self._times.clear()

    def time_of(self, event):
        """When `event` happened, or None while it has not."""
        with self._lock:
            return self._times.get(event)

    def _served(self, event, response):
        when = time.monotonic()
        with self._lock:
            self._times.setdefault(event, when)
        return response
