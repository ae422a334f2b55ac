"""Raw pointer and key input through the X server's XTest extension and single
screen pixels read back with XGetImage (libX11 and libXtst through ctypes):
no helper process between the benchmark's clock and the X event, so a press
is timed from the moment the server is sent it."""

import ctypes
import time

_Z_PIXMAP = 2
_ALL_PLANES = ctypes.c_ulong(-1).value


def _load():
    x = ctypes.CDLL("libX11.so.6")
    xtst = ctypes.CDLL("libXtst.so.6")
    x.XOpenDisplay.restype = ctypes.c_void_p
    x.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x.XCloseDisplay.argtypes = [ctypes.c_void_p]
    x.XDefaultRootWindow.restype = ctypes.c_ulong
    x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    x.XFlush.argtypes = [ctypes.c_void_p]
    x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
    x.XGetImage.restype = ctypes.c_void_p
    x.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                            ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
    x.XGetPixel.restype = ctypes.c_ulong
    x.XGetPixel.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int]
    xtst.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_int,
                                          ctypes.c_ulong]
    xtst.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
    xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
    x.XStringToKeysym.restype = ctypes.c_ulong
    x.XStringToKeysym.argtypes = [ctypes.c_char_p]
    x.XKeysymToKeycode.restype = ctypes.c_ubyte
    x.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
    return x, xtst


class _XImageFunctions(ctypes.Structure):
    _fields_ = [("create_image", ctypes.c_void_p),
                ("destroy_image", ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p))]


# XImage up to the start of its function table (Xlib.h, LP64): XDestroyImage
# is a macro that calls the image's own destroy function, which frees the pixels too.
class _XImageHead(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.c_void_p), ("byte_order", ctypes.c_int),
                ("bitmap_unit", ctypes.c_int), ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int),
                ("depth", ctypes.c_int), ("bytes_per_line", ctypes.c_int), ("bits_per_pixel", ctypes.c_int),
                ("red_mask", ctypes.c_ulong), ("green_mask", ctypes.c_ulong), ("blue_mask", ctypes.c_ulong),
                ("obdata", ctypes.c_void_p), ("f", _XImageFunctions)]


class XInput:
    """A connection of its own to `display` (":N") for the `with`."""

    def __init__(self, display):
        self._name = display.encode()
        self._x, self._xtst = _load()
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
        image = self._x.XGetImage(self._display, self._root, x, y, 1, 1, _ALL_PLANES, _Z_PIXMAP)
        if not image:
            raise RuntimeError(f"XGetImage at ({x}, {y}) failed")
        try:
            value = self._x.XGetPixel(image, 0, 0)
        finally:
            _XImageHead.from_address(image).f.destroy_image(image)
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
