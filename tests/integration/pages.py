"""Web pages of a test's own, beside the harness's three hosts: served by
the harness's PageServer on a free port of 127.0.0.1, or on a port it is
given (HTTPS with a certificate made for the run, if asked), and helpers to
load a page in the main window's browser."""

import os
import subprocess

# The server and its pages, for the tests that serve their own.
from harness import PageServer, Response, coloured_page  # noqa: F401

# What the kernel calls WebKit's web processes (names are cut to 15 bytes).
WEB_PROCESS_NAME = "WebKitWebProces"

# The address box and a point well inside the browser, in client pixels of the main window.
TEXT1 = (384, 8, 329, 18)
IN_BROWSER = (500, 400)


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
