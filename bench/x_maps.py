"""When a program's top-level window is mapped, from the X server's own
MapNotify events (libX11 through ctypes): no polling, and the time is taken
as the event arrives."""

import ctypes
import select
import threading
import time

from xlib import ERROR_HANDLER, XA_CARDINAL, XEvent, x11

_MAP_NOTIFY = 19
_SUBSTRUCTURE_NOTIFY_MASK = 1 << 19


class MapWatcher:
    """Records (time.monotonic(), pid) for every top-level, not
    override-redirect window mapped on `display`, the pid read from its
    _NET_WM_PID, for as long as the `with` lasts."""

    def __init__(self, display):
        self._display_name = display.encode()
        self._maps = []
        self._lock = threading.Lock()
        self._ready = threading.Event()
        self._stop = False
        self._error = None
        self._thread = threading.Thread(target=self._watch, name="x-maps", daemon=True)
        # A window may be gone by the time its pid is asked for; that error is no reason to exit.
        self._ignore_errors = ERROR_HANDLER(lambda display, event: 0)

    def __enter__(self):
        self._thread.start()
        self._ready.wait(30)
        if self._error or not self._ready.is_set():
            raise RuntimeError(f"cannot watch the X display: {self._error or 'timed out'}")
        return self

    def __exit__(self, *exc):
        self._stop = True
        self._thread.join()

    def first_map(self, pid, since):
        """The time the first window of `pid` was mapped after `since`, or None while none has been."""
        with self._lock:
            return next((when for when, owner in self._maps if owner == pid and when >= since), None)

    def _watch(self):
        try:
            x = x11()
            x.XSetErrorHandler(self._ignore_errors)
            display = x.XOpenDisplay(self._display_name)
            if not display:
                raise RuntimeError(f"XOpenDisplay({self._display_name.decode()}) failed")
        except (OSError, RuntimeError) as e:
            self._error = str(e)
            self._ready.set()
            return
        try:
            x.XSelectInput(display, x.XDefaultRootWindow(display), _SUBSTRUCTURE_NOTIFY_MASK)
            x.XSync(display, 0)
            pid_atom = x.XInternAtom(display, b"_NET_WM_PID", 0)
            fd = x.XConnectionNumber(display)
            self._ready.set()
            event = XEvent()
            while not self._stop:
                select.select([fd], [], [], 0.1)
                while x.XPending(display):
                    x.XNextEvent(display, ctypes.byref(event))
                    if event.type != _MAP_NOTIFY or event.xmap.override_redirect:
                        continue
                    when = time.monotonic()
                    owner = self._window_pid(x, display, event.xmap.window, pid_atom)
                    with self._lock:
                        self._maps.append((when, owner))
        finally:
            x.XCloseDisplay(display)

    @staticmethod
    def _window_pid(x, display, window, pid_atom):
        actual_type = ctypes.c_ulong()
        actual_format = ctypes.c_int()
        items = ctypes.c_ulong()
        after = ctypes.c_ulong()
        data = ctypes.c_void_p()
        status = x.XGetWindowProperty(display, window, pid_atom, 0, 1, 0, XA_CARDINAL,
                                      ctypes.byref(actual_type), ctypes.byref(actual_format),
                                      ctypes.byref(items), ctypes.byref(after), ctypes.byref(data))
        if status != 0 or not data.value:
            return None
        try:
            if actual_format.value != 32 or items.value < 1:
                return None
            # Format-32 properties come back as C longs.
            return ctypes.cast(data, ctypes.POINTER(ctypes.c_long))[0]
        finally:
            x.XFree(data)
