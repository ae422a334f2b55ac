"""Raw pointer and key input through the X server's XTest extension and single
screen pixels read back with XGetImage (libX11 and libXtst through ctypes):
no helper process between the benchmark's clock and the X event, so a press
is timed from the moment the server is sent it."""

import time

from xlib import ALL_PLANES, Z_PIXMAP, x11, xtst


class XInput:
    """A connection of its own to `display` (":N") for the `with`."""

    def __init__(self, display):
        self._name = display.encode()
        self._x, self._xtst = x11(), xtst()
        self._display = None

    def __enter__(self):
        self._display = self._x.XOpenDisplay(self._name)
        if not self._display:
            raise RuntimeError(f"XOpenDisplay({self._name.decode()}) failed")
        self._root = self._x.XDefaultRootWindow(self._display)
        return self

    def __exit__(self, *exc):
        self._x.XCloseDisplay(self._display)

    def move(self, x, y):
        """Moves the pointer and waits until the server has done it."""
        self._xtst.XTestFakeMotionEvent(self._display, -1, x, y, 0)
        self._x.XSync(self._display, 0)

    def button(self, number, down):
        """Presses or releases a button; returns time.monotonic() as the event leaves for the server."""
        self._xtst.XTestFakeButtonEvent(self._display, number, 1 if down else 0, 0)
        sent = time.monotonic()
        self._x.XFlush(self._display)
        return sent

    def key(self, name, down):
        """Presses or releases the key of keysym `name` ("a", "space"); returns time.monotonic() as the
        event leaves for the server."""
        code = self._x.XKeysymToKeycode(self._display, self._x.XStringToKeysym(name.encode()))
        self._xtst.XTestFakeKeyEvent(self._display, code, 1 if down else 0, 0)
        sent = time.monotonic()
        self._x.XFlush(self._display)
        return sent

    def pixel(self, x, y):
        """(red, green, blue) on the screen at (x, y), 8 bits each (a 24-bit TrueColor screen)."""
        image = self._x.XGetImage(self._display, self._root, x, y, 1, 1, ALL_PLANES, Z_PIXMAP)
        if not image:
            raise RuntimeError(f"XGetImage at ({x}, {y}) failed")
        try:
            value = self._x.XGetPixel(image, 0, 0)
        finally:
            self._x.XDestroyImage(image)
        return (value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF

    def wait_for_colour(self, x, y, colour, timeout, interval=0.001):
        """The time.monotonic() at which (x, y) was first seen to be `colour`, polling every `interval`
        seconds; None when it is not within `timeout`."""
        deadline = time.monotonic() + timeout
        while True:
            seen = time.monotonic()
            if self.pixel(x, y) == colour:
                return seen
            if seen > deadline:
                return None
            time.sleep(interval)
