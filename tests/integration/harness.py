"""What the integration tests stand on: a private X server, a loopback web
server in place of the program's three web hosts (the same server serves a
test's own pages), the program itself, and the mouse, keyboard and screen of
the X server through xdotool and ImageMagick.

Everything here starts its own processes and stops only those.
"""

import argparse
import errno
import html
import http.server
import os
import select
import shutil
import signal
import ssl
import subprocess
import sys
import tempfile
import threading
import time
import unittest
import urllib.parse

# The hosts the program is built with for these tests (127.0.0.1:<port>).
REDIRECT_PORT = 47831
NEWS_PORT = 47832
DIRECTORY_PORT = 47833
# Nothing listens here.
CLOSED_PORT = 47839
# What overrides the built-in hosts at run time.
HOST_VARIABLES = ("LUDEX_REDIRECT_HOST", "LUDEX_NEWS_HOST", "LUDEX_DIRECTORY_HOST")

# The program's download folder, in each test's own folder.
DOWNLOAD_FOLDER = "downloads"

SCREEN_WIDTH = 1280
SCREEN_HEIGHT = 1024

# Each host's pages fill the browser with a colour of their own, so that a
# screenshot tells which page is shown.
PAGE_COLOURS = {
    REDIRECT_PORT: (40, 120, 200),
    NEWS_PORT: (200, 60, 40),
    DIRECTORY_PORT: (60, 160, 60),
}

# Set by main() from the command line.
PROGRAM = None
OUTPUT_DIR = None

POLL_INTERVAL = 0.05
# How long to wait for the web server's ports.
PORTS_TIMEOUT = 240


def centre(rect):
    """The middle of an (x, y, width, height) rectangle, in whole pixels."""
    x, y, width, height = rect
    return x + width // 2, y + height // 2


def wait_for(condition, timeout, what):
    """Polls `condition` until it returns something true and returns that;
    fails the test with `what` in the message when `timeout` seconds pass."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out after {timeout} s waiting for {what}")
        time.sleep(POLL_INTERVAL)


class VirtualDisplay:
    """An Xvfb server on a free display number, for as long as the `with` lasts.
    Its one monitor covers the screen, or only `monitor` (x, y, width,
    height) of it, as on a desktop whose other monitor is switched off."""

    def __init__(self, log_path, size=(SCREEN_WIDTH, SCREEN_HEIGHT), monitor=None):
        self._log_path = log_path
        self._size = size
        self._monitor = monitor
        self._process = None
        self.name = None

    def server_command(self, display_fd):
        """The X server to run, writing its display number to `display_fd`."""
        # Without -noreset the server resets whenever its last client
        # leaves, and a program starting just then cannot connect.
        return ["Xvfb", "-displayfd", str(display_fd), "-screen", "0", f"{self._size[0]}x{self._size[1]}x24",
                "-nolisten", "tcp", "-noreset"]

    def __enter__(self):
        read_end, write_end = os.pipe()
        with open(self._log_path, "wb") as log:
            self._process = subprocess.Popen(
                self.server_command(write_end), pass_fds=[write_end], stdout=log, stderr=subprocess.STDOUT,
                start_new_session=True)
        os.close(write_end)
        try:
            number = self._read_display_number(read_end)
        except BaseException:
            self._stop()
            raise
        finally:
            os.close(read_end)
        self.name = f":{number}"
        try:
            self.set_up_monitors()
        except BaseException:
            self._stop()
            raise
        return self

    @property
    def pid(self):
        return self._process.pid

    def set_up_monitors(self):
        if self._monitor:
            self._place_monitor()

    def _place_monitor(self):
        # Xvfb has a single output: the RandR monitor that holds it is the one toolkits see.
        x, y, width, height = self._monitor
        millimetres = f"{width}/{width * 254 // 960}x{height}/{height * 254 // 960}+{x}+{y}"
        result = subprocess.run(["xrandr", "--setmonitor", "ludex-monitor", millimetres, "screen"],
                                env=self.environment(), capture_output=True, timeout=30)
        if result.returncode != 0:
            raise AssertionError(f"xrandr could not place the monitor: {result.stderr.decode(errors='replace')}")

    def _read_display_number(self, read_end):
        # Xvfb writes the number once it accepts connections.
        deadline = time.monotonic() + 30
        text = b""
        while not text.endswith(b"\n"):
            remaining = deadline - time.monotonic()
            if remaining <= 0 or self._process.poll() is not None:
                raise AssertionError(f"Xvfb did not start; see {self._log_path}")
            ready, _, _ = select.select([read_end], [], [], remaining)
            if ready:
                chunk = os.read(read_end, 64)
                if not chunk:
                    raise AssertionError(f"Xvfb did not start; see {self._log_path}")
                text += chunk
        return int(text.decode().strip())

    def __exit__(self, *exc):
        self._stop()

    def _stop(self):
        stop_process(self._process)

    def environment(self, extra=None):
        env = dict(os.environ)
        env["DISPLAY"] = self.name
        env.update(extra or {})
        return env


def stop_process(process, grace=10.0):
    """Ends a process started in a session of its own, and whatever it started."""
    if process is None:
        return
    for sig in (signal.SIGTERM, signal.SIGKILL):
        try:
            os.killpg(process.pid, sig)
        except ProcessLookupError:
            break
        try:
            wait_for(lambda: process.poll() is not None and not process_group_alive(process.pid), grace,
                     f"process group {process.pid} to end")
            break
        except AssertionError:
            continue
    process.wait()


def stop_process_group(pgid, grace=10.0):
    """Ends a process group that a program under test started (not a child of ours)."""
    for sig in (signal.SIGTERM, signal.SIGKILL):
        try:
            os.killpg(pgid, sig)
        except ProcessLookupError:
            return
        try:
            wait_for(lambda: not process_group_alive(pgid), grace, f"process group {pgid} to end")
            return
        except AssertionError:
            continue


def process_group_alive(pgid):
    """Whether a process of group `pgid` still runs. An ended one whose parent
    ended first waits as a zombie until init collects it, which may take
    seconds; it runs nothing and holds nothing, so it does not count."""
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/stat", encoding="utf-8", errors="replace") as f:
                stat = f.read()
        except OSError:
            continue
        # The name in brackets may hold spaces; state and group follow its closing bracket.
        state, _, group = stat[stat.rindex(")") + 2:].split()[:3]
        if int(group) == pgid and state != "Z":
            return True
    return False


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


def coloured_page(title, colour, extra=""):
    """A page filled with one colour (so a screenshot tells it), titled `title`."""
    red, green, blue = colour
    return (f"<!DOCTYPE html><html><head><meta charset='utf-8'><title>{title}</title>"
            f"<style>html, body {{ margin: 0; height: 100%; background: rgb({red}, {green}, {blue}); }}</style>"
            f"</head><body>{extra}</body></html>")


def host_page(handler):
    """What the three hosts answer to any path: a page titled and headed by the
    path, in the colour of the host."""
    title = html.escape(handler.path)
    return Response(coloured_page(title, PAGE_COLOURS[handler.server.server_port], f"<p>{title}</p>"))


class _QuietServer(http.server.ThreadingHTTPServer):
    """A browser that drops a connection (a newer load cancels an older one) is no error here."""

    daemon_threads = True

    def handle_error(self, request, client_address):
        if not isinstance(sys.exc_info()[1], ConnectionError):
            super().handle_error(request, client_address)


class PageServer:
    """Serves `pages` on each of `ports` (0: a free one) of the loopback address `host`, over
    HTTPS with `certificate` (certificate file, key file) if given. `pages` is
    a dict from a path (without its query) to a Response or to a function of
    the request handler that returns one (unlisted paths are not found), or one
    such function for every path. Every request is recorded with its port,
    path with query and headers, in order."""

    def __init__(self, pages, certificate=None, ports=(0,), host="127.0.0.1"):
        self._pages = pages
        self._host = host
        self._certificate = certificate
        self._ports = ports
        self._requests = []
        self._changed = threading.Condition()
        self._servers = []
        self._threads = []

    def __enter__(self):
        # A fixed port may be held by another run of these tests on the machine until it ends.
        wait_for(self._bind, PORTS_TIMEOUT, f"ports {self._ports} to be free")
        for server in self._servers:
            if self._certificate:
                context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
                context.load_cert_chain(*self._certificate)
                server.socket = context.wrap_socket(server.socket, server_side=True)
            thread = threading.Thread(target=server.serve_forever, name=f"web-{server.server_port}", daemon=True)
            thread.start()
            self._threads.append(thread)
        return self

    def _bind(self):
        """All the ports or none."""
        try:
            for port in self._ports:
                self._servers.append(_QuietServer((self._host, port), self._handler_class()))
        except OSError as e:
            if e.errno != errno.EADDRINUSE:
                raise
            for server in self._servers:
                server.server_close()
            self._servers.clear()
            return False
        return True

    def __exit__(self, *exc):
        for server in self._servers:
            server.shutdown()
            server.server_close()
        for thread in self._threads:
            thread.join()

    @property
    def port(self):
        """The (first) port it serves on."""
        return self._servers[0].server_port

    def url(self, path):
        scheme = "https" if self._certificate else "http"
        return f"{scheme}://{self._host}:{self.port}{path}"

    def _page(self, handler):
        if callable(self._pages):
            return self._pages(handler)
        page = self._pages.get(urllib.parse.urlsplit(handler.path).path)
        return page(handler) if callable(page) else page

    def _handler_class(self):
        web = self

        class Handler(http.server.BaseHTTPRequestHandler):
            def do_GET(self):
                web._record(self.server.server_port, self.path, dict(self.headers))
                page = web._page(self) or Response("not found", "text/plain", 404)
                self.send_response(page.status)
                self.send_header("Content-Type", page.content_type)
                # Every visit must reach the server, to be counted.
                self.send_header("Cache-Control", "no-store")
                self.send_header("Content-Length", str(page.declared_length))
                for name, value in page.headers:
                    self.send_header(name, value)
                self.end_headers()
                self.wfile.write(page.body)

            def log_message(self, *args):
                pass

        return Handler

    def _record(self, port, path, headers):
        with self._changed:
            self._requests.append((port, path, headers))
            self._changed.notify_all()

    def requests(self):
        """(port, path with query) of every request since the last clear_requests(), in order."""
        with self._changed:
            return [(port, path) for port, path, _ in self._requests]

    def paths(self):
        return [path for _, path in self.requests()]

    def clear_requests(self):
        with self._changed:
            self._requests.clear()

    def wait_for_request(self, predicate, timeout=30, what="a request", port=None):
        """(path, headers) of the first recorded request (on `port`, if given)
        for which `predicate(path, headers)` holds."""
        deadline = time.monotonic() + timeout
        with self._changed:
            while True:
                for on, path, headers in self._requests:
                    if port in (None, on) and predicate(path, headers):
                        return path, headers
                remaining = deadline - time.monotonic()
                if remaining <= 0:
                    raise AssertionError(f"timed out after {timeout} s waiting for {what}; "
                                         f"requests: {[(on, path) for on, path, _ in self._requests]}")
                self._changed.wait(remaining)

    def wait_for_path(self, path, timeout=30, port=None):
        return self.wait_for_request(lambda p, _: p == path, timeout, f"a request of {path}", port)


class Program:
    """The program under test, in a session of its own so that it and its
    helper processes can be stopped together."""

    def __init__(self, path, env, log_path, talks=False, args=(), cwd=None, cgroup=None):
        """With `talks`, its stdin and stdout are pipes of ours and only its stderr goes to the log.
        With `cgroup`, a control group's folder, it and all it starts run in that group."""
        self.log_path = log_path
        # A shell joins the group and becomes the program: Python code run
        # between fork and exec (preexec_fn) can deadlock on a lock that one of
        # the web servers' threads held at the fork.
        command = [path, *args]
        if cgroup:
            command = ["sh", "-c", 'echo $$ > "$0/cgroup.procs" && exec "$@"', cgroup, *command]
        with open(log_path, "wb") as log:
            self.process = subprocess.Popen(command, env=env, start_new_session=True, cwd=cwd,
                                            stdin=subprocess.PIPE if talks else subprocess.DEVNULL,
                                            stdout=subprocess.PIPE if talks else log,
                                            stderr=log if talks else subprocess.STDOUT)

    @property
    def pid(self):
        return self.process.pid

    def alive(self):
        return self.process.poll() is None

    def log(self):
        with open(self.log_path, encoding="utf-8", errors="replace") as f:
            return f.read()

    def stop(self):
        stop_process(self.process)


class Screen:
    """The X server's windows, pointer, keyboard and pixels."""

    def __init__(self, display):
        self._env = display.environment()

    def _run(self, *command):
        result = subprocess.run(command, env=self._env, capture_output=True, timeout=30)
        if result.returncode != 0:
            raise AssertionError(f"{' '.join(command)} failed: {result.stderr.decode(errors='replace')}")
        return result.stdout

    def xdotool(self, *args):
        return self._run("xdotool", *map(str, args)).decode("utf-8", errors="replace")

    def windows_of(self, pid):
        # xdotool search exits with 1 when nothing matches.
        result = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid)], env=self._env,
                                capture_output=True, timeout=30)
        return [int(line) for line in result.stdout.split()]

    def search_visible_by_name(self, pattern):
        """The shown windows whose title matches the regular expression `pattern`."""
        result = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", pattern], env=self._env,
                                capture_output=True, timeout=30)
        return [int(line) for line in result.stdout.split()]

    def wait_for_window(self, program, timeout=30):
        def window():
            if not program.alive():
                raise AssertionError(f"the program ended before showing a window; its log:\n{program.log()}")
            return next(iter(self.windows_of(program.pid)), None)
        return wait_for(window, timeout, f"a window of process {program.pid}")

    def geometry(self, window):
        """(x, y, width, height) of a top-level window on the screen."""
        values = {}
        for line in self.xdotool("getwindowgeometry", "--shell", window).splitlines():
            key, _, value = line.partition("=")
            values[key] = int(value)
        return values["X"], values["Y"], values["WIDTH"], values["HEIGHT"]

    def title(self, window):
        return self.xdotool("getwindowname", window).rstrip("\n")

    def wait_for_title(self, window, title, timeout=20):
        wait_for(lambda: self.title(window) == title, timeout,
                 f"the title {title!r} (it is {self.title(window)!r})")

    def click(self, x, y, button=1):
        self.move_pointer(x, y)
        self.xdotool("click", button)

    def drag(self, start, end, button=1):
        """Presses at `start`, moves by way of the half-way point to `end`, releases."""
        halfway = ((start[0] + end[0]) // 2, (start[1] + end[1]) // 2)
        self.move_pointer(*start)
        self.xdotool("mousedown", button, "mousemove", "--sync", *halfway, "mousemove", "--sync", *end,
                     "mouseup", button)

    def double_click(self, x, y, button=1):
        self.move_pointer(x, y)
        # Well within GTK's double-click time of 400 ms.
        self.xdotool("click", "--repeat", 2, "--delay", 150, button)

    def move_pointer(self, x, y):
        """Moves the pointer to (x, y) and waits until it is there. (xdotool's
        --sync waits for a move, and a move to where the pointer already is
        only gives up after many seconds.)"""
        if self.pointer() != (x, y):
            self.xdotool("mousemove", "--sync", x, y)

    def pointer(self):
        values = {}
        for line in self.xdotool("getmouselocation", "--shell").splitlines():
            key, _, value = line.partition("=")
            values[key] = value
        return int(values["X"]), int(values["Y"])

    def press(self, x, y, button=1):
        self.move_pointer(x, y)
        self.xdotool("mousedown", button)

    def release(self, button=1):
        self.xdotool("mouseup", button)

    def window_property(self, window, name):
        """An X property of a window as xprop prints its value, or None when it is not set."""
        line = self._run("xprop", "-id", str(window), name).decode("utf-8", errors="replace").strip()
        _, equals, value = line.partition(" = ")
        return value if equals else None

    def type(self, text):
        self.xdotool("type", "--delay", 30, text)

    def key(self, *keys):
        self.xdotool("key", "--delay", 30, *keys)

    def screenshot(self, path, rect=None):
        """The screen, or the rectangle (x, y, width, height) of it, saved as a picture file."""
        os.makedirs(os.path.dirname(path), exist_ok=True)
        crop = ["-crop", "{2}x{3}+{0}+{1}".format(*rect)] if rect else []
        self._run("import", "-window", "root", *crop, "+repage", path)

    def capture(self):
        return Image.from_ppm(self._run("import", "-window", "root", "-depth", "8", "ppm:-"))

    def pixel(self, x, y):
        return self.capture().pixel(x, y)

    def wait_for_pixel(self, x, y, condition, timeout, what):
        last = []

        def check():
            last[:] = [self.pixel(x, y)]
            return condition(last[0])
        try:
            wait_for(check, timeout, what)
        except AssertionError as e:
            raise AssertionError(f"{e}; the pixel at ({x}, {y}) is {last[0] if last else None}") from None
        return last[0]


class Image:
    """An 8-bit RGB picture read from a binary PPM."""

    def __init__(self, width, height, data):
        self.width = width
        self.height = height
        self._data = data

    @classmethod
    def from_ppm(cls, blob):
        fields = []
        at = 0
        while len(fields) < 4:
            while blob[at:at + 1].isspace():
                at += 1
            if blob[at:at + 1] == b"#":
                at = blob.index(b"\n", at)
                continue
            end = at
            while not blob[end:end + 1].isspace():
                end += 1
            fields.append(blob[at:end])
            at = end
        if fields[0] != b"P6" or int(fields[3]) != 255:
            raise ValueError("not an 8-bit binary PPM")
        return cls(int(fields[1]), int(fields[2]), blob[at + 1:])

    def pixel(self, x, y):
        offset = (y * self.width + x) * 3
        return tuple(self._data[offset:offset + 3])


class ProgramTestCase(unittest.TestCase):
    """Each test runs the program afresh on one X server, with the web server
    up for the whole class. The program keeps its website data, caches and
    downloads in folders of the test's own (self.folders), never the user's;
    the download folder is there before the program starts, as a player's is."""

    # Seconds the program may take to show its window.
    window_timeout = 30
    # A control group's folder the program runs in, if any.
    program_cgroup = None

    @classmethod
    def make_display(cls, log_path):
        """The X server the class's tests run on (not yet started)."""
        return VirtualDisplay(log_path)

    @classmethod
    def setUpClass(cls):
        cls.logs = os.path.join(OUTPUT_DIR, "integration-logs")
        os.makedirs(cls.logs, exist_ok=True)
        cls.display = cls.make_display(os.path.join(cls.logs, f"{cls.__name__}-xvfb.log")).__enter__()
        cls.addClassCleanup(cls.display.__exit__, None, None, None)
        cls.web = cls.start_web_server()
        cls.addClassCleanup(cls.web.__exit__, None, None, None)
        cls.screen = Screen(cls.display)

    @classmethod
    def start_web_server(cls):
        """What stands in for the program's three hosts, with clear_requests() to
        forget the requests seen so far: by default a PageServer on the ports the
        program is built with."""
        return PageServer(host_page, ports=(REDIRECT_PORT, NEWS_PORT, DIRECTORY_PORT)).__enter__()

    def setUp(self):
        self.web.clear_requests()
        self.folders = tempfile.mkdtemp(prefix="ludex-test-")
        self.addCleanup(shutil.rmtree, self.folders, ignore_errors=True)
        os.mkdir(os.path.join(self.folders, DOWNLOAD_FOLDER))
        self.start_program()

    def program_environment(self):
        """The XDG folders the program uses, all under self.folders."""
        return {name: os.path.join(self.folders, folder) for name, folder in (
            ("XDG_DATA_HOME", "data"), ("XDG_CACHE_HOME", "cache"), ("XDG_CONFIG_HOME", "config"),
            ("XDG_DOWNLOAD_DIR", DOWNLOAD_FOLDER))}

    def start_program(self, suffix="", args=()):
        """Starts the program (again, after self.program.stop()) with `args` and waits for its window."""
        log = os.path.join(self.logs, f"{self.id().split('.', 1)[1]}{suffix}.log")
        # Asked for once: a test may prepare folders while it answers.
        wanted = self.program_environment()
        env = self.display.environment(wanted)
        # The hosts the program is built with, unless a test overrides them.
        for variable in HOST_VARIABLES:
            if variable not in wanted:
                env.pop(variable, None)
        # Started in the test's folder, so that whatever it might write beside itself stays there.
        self.program = Program(PROGRAM, env, log, args=args, cwd=self.folders, cgroup=self.program_cgroup)
        self.addCleanup(self.program.stop)
        self.window = self.screen.wait_for_window(self.program, timeout=self.window_timeout)
        self.origin = self.screen.geometry(self.window)[:2]

    def client_point(self, x, y):
        """A point of the main window's client area on the screen."""
        return self.origin[0] + x, self.origin[1] + y

    def click_client(self, x, y, button=1):
        self.screen.click(*self.client_point(x, y), button=button)

    def double_click_client(self, x, y):
        self.screen.double_click(*self.client_point(x, y))

    def assert_alive(self):
        self.assertTrue(self.program.alive(), f"the program ended; its log:\n{self.program.log()}")


def main():
    """Runs the unittest cases of the calling module with the program's path
    and the output folder from the command line; exits with their status."""
    global PROGRAM, OUTPUT_DIR
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    parser.add_argument("--output-dir", required=True)
    parser.add_argument("--hosts", nargs=3, metavar=("REDIRECT", "NEWS", "DIRECTORY"),
                        help="the web hosts the program was built with")
    args, rest = parser.parse_known_args()
    expected = [f"127.0.0.1:{port}" for port in (REDIRECT_PORT, NEWS_PORT, DIRECTORY_PORT)]
    if args.hosts is not None and args.hosts != expected:
        sys.exit(f"the program was built for the web hosts {args.hosts}; these tests serve {expected}: "
                 "configure with -DLUDEX_REDIRECT_HOST=127.0.0.1:47831 -DLUDEX_NEWS_HOST=127.0.0.1:47832 "
                 "-DLUDEX_DIRECTORY_HOST=127.0.0.1:47833")
    PROGRAM = os.path.abspath(args.program)
    OUTPUT_DIR = os.path.abspath(args.output_dir)
    unittest.main(module="__main__", argv=[sys.argv[0]] + rest, verbosity=2)
