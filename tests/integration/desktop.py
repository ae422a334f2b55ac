"""What the window-system tests need beside the harness: a window manager on
the private X server, desktop panels that keep strips of the screen for
themselves, windows as X reports them (places, properties), and quick reads
of screen pixels straight from the server, for looks that must show within a
tenth of a second (ImageMagick takes longer than that on a busy machine).

Everything here starts its own processes and stops only those.
"""

import ctypes
import os
import re
import shutil
import subprocess
import tempfile

import harness
import xlib

# How long a window manager may take to come up.
WINDOW_MANAGER_TIMEOUT = 30


def run(display, *command):
    result = subprocess.run(command, env=display.environment(), capture_output=True, timeout=30)
    if result.returncode != 0:
        raise AssertionError(f"{' '.join(command)} failed: {result.stderr.decode(errors='replace')}")
    return result.stdout.decode("utf-8", errors="replace")


class Openbox:
    """The openbox window manager on `display`, for as long as the `with` lasts."""

    def __init__(self, display, log_path):
        self._display = display
        self._log_path = log_path
        self._process = None

    def __enter__(self):
        # Openbox names itself on the root window early in its start; the
        # command it runs once started is the sign that it takes requests.
        self._started = self._log_path + ".started"
        if os.path.exists(self._started):
            os.remove(self._started)
        with open(self._log_path, "wb") as log:
            self._process = subprocess.Popen(["openbox", "--sm-disable", "--startup", f"touch {self._started}"],
                                             env=self._display.environment(), stdout=log, stderr=subprocess.STDOUT,
                                             stdin=subprocess.DEVNULL, start_new_session=True)
        try:
            harness.wait_for(self._managing, WINDOW_MANAGER_TIMEOUT, "openbox to manage the screen")
        except BaseException:
            harness.stop_process(self._process)
            raise
        return self

    def _managing(self):
        if self._process.poll() is not None:
            raise AssertionError(f"openbox ended; see {self._log_path}")
        return os.path.exists(self._started) and \
            "window id" in run(self._display, "xprop", "-root", "_NET_SUPPORTING_WM_CHECK")

    def __exit__(self, *exc):
        harness.stop_process(self._process)


def run_openbox_for(test_class):
    """Runs openbox on the class's display until the class is cleaned up."""
    openbox = Openbox(test_class.display, os.path.join(test_class.logs, f"{test_class.__name__}-openbox.log"))
    openbox.__enter__()
    test_class.addClassCleanup(openbox.__exit__, None, None, None)


class TwoMonitorDisplay(harness.VirtualDisplay):
    """An X server with two monitors side by side, each 1280 x 1024, the left one primary: Xorg with
    the dummy video driver, whose outputs toolkits see as monitors (Xvfb has one output, and GDK
    shows no monitor that has none). It takes no input device of the machine's."""

    MONITORS = ((0, 0, 1280, 1024), (1280, 0, 1280, 1024))
    _CONFIG = """
Section "ServerFlags"
  Option "AutoAddDevices" "false"
  Option "AutoEnableDevices" "false"
EndSection
Section "Device"
  Identifier "dummy"
  Driver "dummy"
  VideoRam 65536
EndSection
Section "Monitor"
  Identifier "monitor"
  HorizSync 5.0 - 1000.0
  VertRefresh 5.0 - 200.0
  Modeline "1280x1024" 109.00 1280 1368 1496 1712 1024 1027 1034 1063
EndSection
Section "Screen"
  Identifier "screen"
  Device "dummy"
  Monitor "monitor"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Virtual 2560 1024
  EndSubSection
EndSection
"""

    def __init__(self, log_path):
        super().__init__(log_path, size=(2560, 1024))
        self._folder = tempfile.mkdtemp(prefix="ludex-xorg-")
        with open(os.path.join(self._folder, "xorg.conf"), "w") as config:
            config.write(self._CONFIG)
        os.mkdir(os.path.join(self._folder, "xorg.conf.d"))

    def server_command(self, display_fd):
        return ["Xorg", "-displayfd", str(display_fd), "-config", os.path.join(self._folder, "xorg.conf"),
                "-configdir", os.path.join(self._folder, "xorg.conf.d"), "-logfile",
                self._log_path + ".xorg", "-nolisten", "tcp", "-noreset", "-novtswitch", "-sharevts"]

    def set_up_monitors(self):
        run(self, "xrandr", "--addmode", "DUMMY1", "1280x1024")
        run(self, "xrandr", "--output", "DUMMY0", "--mode", "1280x1024", "--pos", "0x0", "--primary",
            "--output", "DUMMY1", "--mode", "1280x1024", "--pos", "1280x0")
        monitors = run(self, "xrandr", "--listmonitors")
        if "1280/" not in monitors or "+1280+0" not in monitors:
            raise AssertionError(f"Xorg did not put up the two monitors: {monitors}")

    def __exit__(self, *exc):
        super().__exit__(*exc)
        shutil.rmtree(self._folder, ignore_errors=True)


def work_area(display):
    """(x, y, width, height) of the screen that the window manager leaves free of panels on
    the current desktop, as it publishes in _NET_WORKAREA, or None before it has."""
    text = run(display, "xprop", "-root", "_NET_WORKAREA")
    values = [value.strip() for value in text.split("=", 1)[1].split(",")] if "=" in text else None
    return tuple(int(v) for v in values[:4]) if values else None


class Panel:
    """A desktop panel along one edge ("top", "bottom", "left" or "right") of the screen,
    or of one monitor (x, y, width, height) of it, `thickness` pixels deep: a dock window
    that keeps its strip for itself the EWMH way (_NET_WM_STRUT and _NET_WM_STRUT_PARTIAL),
    for as long as the `with` lasts. Start it under a window manager: entering waits until
    the manager has changed the work area for it."""

    _PROP_MODE_REPLACE = 0
    # In the order of the strut's fields.
    _EDGES = ("left", "right", "top", "bottom")

    def __init__(self, display, edge, thickness, monitor=None):
        if edge not in self._EDGES:
            raise ValueError(f"no such edge: {edge}")
        self._display = display
        self._edge = edge
        self._thickness = thickness
        self._monitor = monitor
        self._x = xlib.x11()
        self._connection = None

    def __enter__(self):
        x = self._x
        self._connection = x.XOpenDisplay(self._display.name.encode())
        if not self._connection:
            raise AssertionError(f"cannot open the X display {self._display.name}")
        try:
            before = work_area(self._display)
            self._show()
            harness.wait_for(lambda: work_area(self._display) != before, WINDOW_MANAGER_TIMEOUT,
                             f"the window manager to take a {self._edge} panel off the work area {before}")
        except BaseException:
            self._close()
            raise
        return self

    def __exit__(self, *exc):
        self._close()

    def _show(self):
        x, connection = self._x, self._connection
        screen = x.XDefaultScreen(connection)
        screen_width, screen_height = x.XDisplayWidth(connection, screen), x.XDisplayHeight(connection, screen)
        left, top, width, height = self._monitor or (0, 0, screen_width, screen_height)
        depth = self._thickness
        # The strip, and how far it reaches in from the screen's edge.
        strip, reach = {
            "left": ((left, top, depth, height), left + depth),
            "right": ((left + width - depth, top, depth, height), screen_width - left - width + depth),
            "top": ((left, top, width, depth), top + depth),
            "bottom": ((left, top + height - depth, width, depth), screen_height - top - height + depth),
        }[self._edge]
        self._window = x.XCreateSimpleWindow(connection, x.XDefaultRootWindow(connection), *strip, 0, 0, 0)
        self._set_atoms("_NET_WM_WINDOW_TYPE", ["_NET_WM_WINDOW_TYPE_DOCK"])
        side = self._EDGES.index(self._edge)
        strut = [0] * 4
        strut[side] = reach
        # The partial strut adds, for each edge, the first and last pixel along it that the strip covers.
        span = [0] * 8
        span[2 * side:2 * side + 2] = [left, left + width - 1] if self._edge in ("top", "bottom") else \
            [top, top + height - 1]
        self._set_cardinals("_NET_WM_STRUT", strut)
        self._set_cardinals("_NET_WM_STRUT_PARTIAL", strut + span)
        x.XMapWindow(connection, self._window)
        x.XSync(connection, 0)

    def _atom(self, name):
        return self._x.XInternAtom(self._connection, name.encode(), 0)

    def _set_atoms(self, name, values):
        self._set(name, xlib.XA_ATOM, [self._atom(value) for value in values])

    def _set_cardinals(self, name, values):
        self._set(name, xlib.XA_CARDINAL, values)

    def _set(self, name, kind, values):
        # Format-32 property data goes to Xlib as C longs.
        data = (ctypes.c_long * len(values))(*values)
        self._x.XChangeProperty(self._connection, self._window, self._atom(name), kind, 32, self._PROP_MODE_REPLACE,
                                data, len(values))

    def _close(self):
        # Closing the connection destroys the window with it.
        if self._connection:
            self._x.XCloseDisplay(self._connection)
            self._connection = None


def client_geometry(display, window):
    """(x, y, width, height) of a window's own area on the screen, without any frame."""
    text = run(display, "xwininfo", "-id", str(window))

    def field(name):
        return int(re.search(rf"{name}:\s+(-?\d+)", text).group(1))
    return (field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Width"), field("Height"))


def property_values(display, window, name):
    """The values of a window property as xprop prints them, or None when it is not set."""
    text = run(display, "xprop", "-id", str(window), name)
    if "=" not in text:
        return None
    return [value.strip() for value in text.split("=", 1)[1].split(",") if value.strip()]


def icons(display, window):
    """The pictures a window carries in _NET_WM_ICON, as {(width, height): ARGB values}; empty when none."""
    text = run(display, "xprop", "-len", "4000000", "-notype", "-id", str(window), "32c", "_NET_WM_ICON")
    values = [int(v) for v in text.split("=", 1)[1].split(",")] if "=" in text else []
    pictures = {}
    while len(values) >= 2:
        width, height = values[:2]
        pictures[(width, height)] = values[2:2 + width * height]
        values = values[2 + width * height:]
    return pictures


def frame_extents(display, window):
    """(left, right, top, bottom) of the window manager's frame, or None when it has not said."""
    values = property_values(display, window, "_NET_FRAME_EXTENTS")
    return tuple(int(v) for v in values) if values else None


def wm_state(display, window):
    """"Normal", "Iconic" or "Withdrawn", as the window manager keeps it in WM_STATE."""
    match = re.search(r"window state:\s+(\w+)", run(display, "xprop", "-id", str(window), "WM_STATE"))
    return match.group(1) if match else None


def net_wm_state(display, window):
    return property_values(display, window, "_NET_WM_STATE") or []


class ScreenPixels:
    """A connection of our own to the X server that reads rectangles of the screen."""

    def __init__(self, display):
        self._x = xlib.x11()
        self._display = self._x.XOpenDisplay(display.name.encode())
        if not self._display:
            raise AssertionError(f"cannot open the X display {display.name}")
        self._root = self._x.XDefaultRootWindow(self._display)

    def close(self):
        if self._display:
            self._x.XCloseDisplay(self._display)
            self._display = None

    def grab(self, x, y, width, height):
        """The screen's pixels in the rectangle, as a harness.Image addressed from its top-left corner."""
        image = self._x.XGetImage(self._display, self._root, x, y, width, height, xlib.ALL_PLANES, xlib.Z_PIXMAP)
        if not image:
            raise AssertionError(f"cannot read the screen at {width}x{height}+{x}+{y}")
        try:
            i = image.contents
            if (i.bits_per_pixel, i.byte_order, i.red_mask, i.green_mask, i.blue_mask) != (32, 0, 0xFF0000, 0xFF00,
                                                                                          0xFF):
                raise AssertionError("the screen is not 24-bit colour in 32-bit little-endian pixels")
            stride = i.bytes_per_line
            data = ctypes.string_at(i.data, stride * height)
        finally:
            self._x.XDestroyImage(image)
        rgb = bytearray(width * height * 3)
        for row in range(height):
            pixels = data[row * stride:row * stride + width * 4]
            line = slice(row * width * 3, (row + 1) * width * 3)
            part = bytearray(width * 3)
            part[0::3] = pixels[2::4]
            part[1::3] = pixels[1::4]
            part[2::3] = pixels[0::4]
            rgb[line] = part
        return harness.Image(width, height, bytes(rgb))
