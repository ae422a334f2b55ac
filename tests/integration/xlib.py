"""libX11 and libXtst through ctypes, each loaded once and typed for every call
the tests and the benchmark make (Xlib.h, LP64)."""

import ctypes
import functools

Z_PIXMAP = 2
ALL_PLANES = ctypes.c_ulong(-1).value
XA_ATOM = 4
XA_CARDINAL = 6

_int, _uint, _long, _ulong, _pointer, _string = (ctypes.c_int, ctypes.c_uint, ctypes.c_long, ctypes.c_ulong,
                                                  ctypes.c_void_p, ctypes.c_char_p)


# XImage up to its colour masks, the last field read here.
class XImage(ctypes.Structure):
    _fields_ = [("width", _int), ("height", _int), ("xoffset", _int), ("format", _int), ("data", _pointer),
                ("byte_order", _int), ("bitmap_unit", _int), ("bitmap_bit_order", _int), ("bitmap_pad", _int),
                ("depth", _int), ("bytes_per_line", _int), ("bits_per_pixel", _int),
                ("red_mask", _ulong), ("green_mask", _ulong), ("blue_mask", _ulong)]


class XMapEvent(ctypes.Structure):
    _fields_ = [("type", _int), ("serial", _ulong), ("send_event", _int), ("display", _pointer),
                ("event", _ulong), ("window", _ulong), ("override_redirect", _int)]


class XEvent(ctypes.Union):
    _fields_ = [("type", _int), ("xmap", XMapEvent), ("pad", _long * 24)]


ERROR_HANDLER = ctypes.CFUNCTYPE(_int, _pointer, _pointer)

# name: (restype, argtypes)
_X11_CALLS = {
    "XOpenDisplay": (_pointer, [_string]),
    "XCloseDisplay": (_int, [_pointer]),
    "XConnectionNumber": (_int, [_pointer]),
    "XDefaultScreen": (_int, [_pointer]),
    "XDefaultRootWindow": (_ulong, [_pointer]),
    "XDisplayWidth": (_int, [_pointer, _int]),
    "XDisplayHeight": (_int, [_pointer, _int]),
    "XFlush": (_int, [_pointer]),
    "XSync": (_int, [_pointer, _int]),
    "XPending": (_int, [_pointer]),
    "XNextEvent": (_int, [_pointer, ctypes.POINTER(XEvent)]),
    "XSelectInput": (_int, [_pointer, _ulong, _long]),
    "XSetErrorHandler": (_pointer, [ERROR_HANDLER]),
    "XCreateSimpleWindow": (_ulong, [_pointer, _ulong, _int, _int, _uint, _uint, _uint, _ulong, _ulong]),
    "XMapWindow": (_int, [_pointer, _ulong]),
    "XInternAtom": (_ulong, [_pointer, _string, _int]),
    "XChangeProperty": (_int, [_pointer, _ulong, _ulong, _ulong, _int, _int, _pointer, _int]),
    "XGetWindowProperty": (_int, [_pointer, _ulong, _ulong, _long, _long, _int, _ulong, ctypes.POINTER(_ulong),
                                  ctypes.POINTER(_int), ctypes.POINTER(_ulong), ctypes.POINTER(_ulong),
                                  ctypes.POINTER(_pointer)]),
    "XFree": (_int, [_pointer]),
    "XGetImage": (ctypes.POINTER(XImage), [_pointer, _ulong, _int, _int, _uint, _uint, _ulong, _int]),
    "XGetPixel": (_ulong, [ctypes.POINTER(XImage), _int, _int]),
    "XDestroyImage": (_int, [ctypes.POINTER(XImage)]),
    "XStringToKeysym": (_ulong, [_string]),
    "XKeysymToKeycode": (ctypes.c_ubyte, [_pointer, _ulong]),
    "XGrabKey": (_int, [_pointer, _int, _uint, _ulong, _int, _int, _int]),
}

_XTST_CALLS = {
    "XTestFakeMotionEvent": (_int, [_pointer, _int, _int, _int, _ulong]),
    "XTestFakeButtonEvent": (_int, [_pointer, _uint, _int, _ulong]),
    "XTestFakeKeyEvent": (_int, [_pointer, _uint, _int, _ulong]),
}


def _typed(library, calls):
    loaded = ctypes.CDLL(library)
    for name, (restype, argtypes) in calls.items():
        function = getattr(loaded, name)
        function.restype, function.argtypes = restype, argtypes
    return loaded


@functools.cache
def x11():
    return _typed("libX11.so.6", _X11_CALLS)


@functools.cache
def xtst():
    return _typed("libXtst.so.6", _XTST_CALLS)
