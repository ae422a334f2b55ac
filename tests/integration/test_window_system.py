"""The window-system calls of the gtk back end, made on command by a small
probe program (winapi_probe.cpp) and checked against what the X server
reports and shows: places and sizes, regions, style bits, the caption move
loop, re-parenting, focus outlines, minimising and window titles."""

import os
import subprocess
import threading
import unittest

import desktop
import harness
from harness import SCREEN_HEIGHT, SCREEN_WIDTH, wait_for

# Built beside the program.
PROBE_NAME = "ludex-winapi-probe"

# The probe's form has a client area of 300 x 200 pixels, painted in its back
# colour 0x00806040, and a 120 x 80 panel at (20, 20) whose picture has a black
# top-left pixel on a background of 0x0000C0FF.
FORM_SIZE = (300, 200)
PANEL = (20, 20, 120, 80)
FORM_COLOUR = (64, 96, 128)
PANEL_COLOUR = (255, 192, 0)
BLACK = (0, 0, 0)

# Where the tests put the form's client area (no window manager), and its panel on the screen.
FORM_AT = (100, 80)
PANEL_AT = (FORM_AT[0] + PANEL[0], FORM_AT[1] + PANEL[1])

WS_CAPTION = 0x00C00000
WS_DISABLED = 0x08000000
SWP_NOSIZE = 1
SWP_NOMOVE = 2

# The pixels of a window that the X server shows a moment after a change.
SHOW_TIMEOUT = 20


class Probe(harness.Program):
    """The probe program, fed commands on its stdin; every line it prints is kept in order."""

    def __init__(self, path, display, log_path):
        super().__init__(path, display.environment(), log_path, talks=True)
        self._lines = []
        self._ended = False
        self._changed = threading.Condition()
        self._reader = threading.Thread(target=self._read, name="probe-stdout", daemon=True)
        self._reader.start()

    def wait_until_ready(self):
        self.wait_for_line(lambda line: line == "ready", 30)

    def _read(self):
        for raw in self.process.stdout:
            with self._changed:
                self._lines.append(raw.decode("utf-8", errors="replace").rstrip("\n"))
                self._changed.notify_all()
        with self._changed:
            self._ended = True
            self._changed.notify_all()

    def lines(self):
        with self._changed:
            return list(self._lines)

    def wait_for_line(self, predicate, timeout, start=0):
        """The first line from index `start` on for which `predicate` holds."""
        with self._changed:
            found = self._changed.wait_for(
                lambda: self._ended or any(predicate(line) for line in self._lines[start:]), timeout)
            for line in self._lines[start:]:
                if predicate(line):
                    return line
        if found:
            raise AssertionError(f"the probe ended; it printed {self.lines()}; its log:\n{self.log()}")
        raise AssertionError(f"timed out after {timeout} s waiting for a line; the probe printed {self.lines()}")

    def command(self, text, timeout=20):
        """Sends one command and returns the words of its answer after "ok <command>"."""
        start = len(self.lines())
        self.process.stdin.write((text + "\n").encode())
        self.process.stdin.flush()
        name = text.split()[0]
        answer = self.wait_for_line(lambda line: line.split()[:2] == ["ok", name] or line.startswith("error"),
                                    timeout, start)
        if answer.startswith("error"):
            raise AssertionError(f"the probe refused {text!r}: {answer}")
        return answer.split()[2:]

    def events_since(self, start):
        return [line for line in self.lines()[start:] if line.startswith("event ")]

    def stop(self):
        # Closing its input ends the probe; whatever is left is stopped.
        try:
            self.process.stdin.close()
        except BrokenPipeError:
            pass
        try:
            self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            pass
        harness.stop_process(self.process)
        self._reader.join()


def fields(words):
    """{"form": "65552", ...} from answer words like "form=65552"."""
    return dict(word.split("=", 1) for word in words)


def border_pixels(left, top, right, bottom):
    """The pixels along the inside of the rectangle [left, right) x [top, bottom)."""
    return ([(x, y) for x in range(left, right) for y in (top, bottom - 1)] +
            [(x, y) for y in range(top + 1, bottom - 1) for x in (left, right - 1)])


def same_pixels(a, b):
    return (a.width, a.height) == (b.width, b.height) and all(
        a.pixel(x, y) == b.pixel(x, y) for y in range(a.height) for x in range(a.width))


class ProbeTestCase(unittest.TestCase):
    """Each test runs the probe afresh on one X server; what lies behind the
    windows (self.background) is captured before any window is shown."""

    window_manager = False

    @classmethod
    def setUpClass(cls):
        cls.logs = os.path.join(harness.OUTPUT_DIR, "integration-logs")
        os.makedirs(cls.logs, exist_ok=True)
        cls.probe_path = os.path.join(os.path.dirname(harness.PROGRAM), PROBE_NAME)
        cls.display = harness.VirtualDisplay(os.path.join(cls.logs, f"{cls.__name__}-xvfb.log")).__enter__()
        cls.addClassCleanup(cls.display.__exit__, None, None, None)
        cls.screen = harness.Screen(cls.display)
        cls.pixels = desktop.ScreenPixels(cls.display)
        cls.addClassCleanup(cls.pixels.close)
        cls.background = cls.pixels.grab(0, 0, SCREEN_WIDTH, SCREEN_HEIGHT)
        if cls.window_manager:
            desktop.run_openbox_for(cls)

    def setUp(self):
        log = os.path.join(self.logs, f"{self.id().split('.', 1)[1]}.log")
        self.probe = Probe(self.probe_path, self.display, log)
        self.addCleanup(self.probe.stop)
        self.probe.wait_until_ready()
        self.form = self.screen.wait_for_window(self.probe)

    def geometry(self, window=None):
        return desktop.client_geometry(self.display, self.form if window is None else window)

    def wait_for_geometry(self, expected, window=None):
        wait_for(lambda: self.geometry(window) == expected, SHOW_TIMEOUT,
                 f"the window at {expected} (it is at {self.geometry(window)})")

    def place_form(self):
        """Puts the form's client area at FORM_AT and waits until it is painted there."""
        self.probe.command(f"SetWindowPos {FORM_AT[0]} {FORM_AT[1]} {FORM_SIZE[0]} {FORM_SIZE[1]} 0")
        self.wait_for_geometry(FORM_AT + FORM_SIZE)
        self.wait_for_screen(lambda: self.pixel(*FORM_AT) == FORM_COLOUR and self.pixel(*PANEL_AT) == BLACK,
                             "the form and its panel painted")

    def pixel(self, x, y):
        return self.pixels.grab(x, y, 1, 1).pixel(0, 0)

    def wait_for_screen(self, condition, what):
        wait_for(condition, SHOW_TIMEOUT, what)


class WindowSystemTest(ProbeTestCase):
    """With no window manager: what the back end does by itself."""

    def test_set_window_pos_moves_and_sizes_as_its_flags_say(self):
        self.assertEqual(self.probe.command("SetWindowPos 100 80 300 200 0"), ["100", "80", "400", "280"])
        self.wait_for_geometry((100, 80, 300, 200))
        # SWP_NOSIZE: the size stays, whatever cx and cy say.
        self.assertEqual(self.probe.command(f"SetWindowPos 150 120 10 10 {SWP_NOSIZE}"),
                         ["150", "120", "450", "320"])
        self.wait_for_geometry((150, 120, 300, 200))
        # SWP_NOMOVE: the place stays.
        self.assertEqual(self.probe.command(f"SetWindowPos 0 0 260 150 {SWP_NOMOVE}"),
                         ["150", "120", "410", "270"])
        self.wait_for_geometry((150, 120, 260, 150))
        self.assertEqual(self.probe.command(f"SetWindowPos 5 5 5 5 {SWP_NOSIZE | SWP_NOMOVE}"),
                         ["150", "120", "410", "270"])
        self.assertEqual(self.probe.command("GetWindowRect"), ["150", "120", "410", "270"])

    def test_round_region_cuts_the_corners_down_to_the_desktop(self):
        self.place_form()
        left, top = FORM_AT
        right, bottom = left + FORM_SIZE[0] - 1, top + FORM_SIZE[1] - 1
        self.probe.command("SetWindowRgn round")
        # A 5 x 5 corner ellipse leaves out only the corner pixel itself: the
        # centre of (0, 0) lies 2 pixels across and down from the ellipse's
        # centre at (2.5, 2.5), and 2 * (2 / 2.5)^2 > 1, while (1, 0) gives
        # (1 / 2.5)^2 + (2 / 2.5)^2 < 1.
        corners = [(left, top), (right, top), (left, bottom), (right, bottom)]
        self.wait_for_screen(lambda: all(self.pixel(x, y) == self.background.pixel(x, y) for x, y in corners),
                             "the desktop in the four corners")
        beside = [(left + 1, top), (left, top + 1), (right - 1, top), (right, top + 1),
                  (left + 1, bottom), (left, bottom - 1), (right - 1, bottom), (right, bottom - 1)]
        self.assertEqual([self.pixel(x, y) for x, y in beside], [FORM_COLOUR] * len(beside))

        # A 40 x 40 ellipse: in the first column, row 15 lies outside
        # ((19.5 / 20)^2 + (4.5 / 20)^2 > 1) and row 16 inside.
        self.probe.command("SetWindowRgn round 40")
        cut = [(left, top + 15), (left + 3, top + 3), (right, bottom - 15), (right - 3, bottom - 3)]
        kept = [(left, top + 16), (left + 6, top + 6), (right, bottom - 16), (right - 6, bottom - 6)]
        self.wait_for_screen(lambda: all(self.pixel(x, y) == self.background.pixel(x, y) for x, y in cut),
                             "the desktop in the larger corners")
        self.assertEqual([self.pixel(x, y) for x, y in kept], [FORM_COLOUR] * len(kept))

        # The mouse too passes the cut corner by.
        start = len(self.probe.lines())
        self.screen.click(left + 3, top + 3)
        self.screen.click(left + 6, top + 6)
        self.screen.click(PANEL_AT[0] + 10, PANEL_AT[1] + 10)
        self.probe.wait_for_line(lambda line: line == "event click panel", SHOW_TIMEOUT, start)
        self.assertEqual(self.probe.events_since(start),
                         ["event click form", "event press panel 1 10 10", "event click panel"])

    def test_round_region_of_a_child_shows_its_parent_in_the_corners(self):
        self.place_form()
        self.probe.command("SetWindowRgn panel round")
        x, y = PANEL_AT
        self.wait_for_screen(lambda: self.pixel(x, y) == FORM_COLOUR, "the form in the panel's corner")
        self.assertEqual(self.pixel(x + 1, y), PANEL_COLOUR)
        self.assertEqual(self.pixel(x + PANEL[2] - 1, y), FORM_COLOUR)
        self.assertEqual(self.pixel(x, y + PANEL[3] - 1), FORM_COLOUR)
        # A press in the corner goes to the form beneath.
        start = len(self.probe.lines())
        self.screen.click(x, y)
        self.screen.click(x + 1, y + 1)
        self.probe.wait_for_line(lambda line: line == "event click panel", SHOW_TIMEOUT, start)
        self.assertEqual(self.probe.events_since(start),
                         ["event click form", "event press panel 1 1 1", "event click panel"])

    def test_caption_drag_follows_the_pointer_and_returns_at_the_release(self):
        self.place_form()
        self.probe.command("Drag")
        x, y = PANEL_AT[0] + 60, PANEL_AT[1] + 40
        start = len(self.probe.lines())
        self.screen.xdotool("mousemove", "--sync", x, y, "mousedown", 1)
        self.probe.wait_for_line(lambda line: line == "event press panel 1 60 40", SHOW_TIMEOUT, start)
        self.screen.xdotool("mousemove", "--sync", x + 30, y + 20, "mousemove", "--sync", x + 70, y + 60)
        moved = (FORM_AT[0] + 70, FORM_AT[1] + 60)
        moved_rect = [str(moved[0]), str(moved[1]), str(moved[0] + FORM_SIZE[0]), str(moved[1] + FORM_SIZE[1])]
        self.wait_for_geometry(moved + FORM_SIZE)
        self.assertNotIn("ok drag-returned", self.probe.lines(), "the call returned with the button still down")
        self.screen.xdotool("mouseup", 1)
        self.probe.wait_for_line(lambda line: line == "ok drag-returned", SHOW_TIMEOUT, start)
        self.assertEqual(self.probe.command("GetWindowRect"), moved_rect)
        # Once released, the pointer moves alone.
        self.screen.xdotool("mousemove", "--sync", x + 150, y + 120)
        self.probe.command("Sync")
        self.assertEqual(self.probe.command("GetWindowRect"), moved_rect)
        self.assertEqual(self.geometry(), moved + FORM_SIZE)

    def test_disabled_window_takes_no_clicks(self):
        self.place_form()
        style = int(fields(self.probe.command("SetStyle disabled"))["style"], 16)
        self.assertEqual(style & WS_DISABLED, WS_DISABLED)
        start = len(self.probe.lines())
        self.screen.click(PANEL_AT[0] + 10, PANEL_AT[1] + 10)
        self.screen.click(FORM_AT[0] + 200, FORM_AT[1] + 150)
        self.probe.command("Sync")
        style = int(fields(self.probe.command("ClearStyle disabled"))["style"], 16)
        self.assertEqual(style & WS_DISABLED, 0)
        self.screen.click(PANEL_AT[0] + 30, PANEL_AT[1] + 30)
        self.probe.wait_for_line(lambda line: line == "event click panel", SHOW_TIMEOUT, start)
        self.assertEqual(self.probe.events_since(start), ["event press panel 1 30 30", "event click panel"])

    def test_set_parent_out_and_back_keeps_the_handle_and_the_picture(self):
        self.place_form()
        handles = fields(self.probe.command("Handles"))
        self.assertEqual(handles["parent"], handles["form"])
        picture = self.pixels.grab(*PANEL_AT, *PANEL[2:])

        out = fields(self.probe.command("SetParentOut"))
        self.assertEqual(out, {"hwnd": handles["panel"], "old": handles["form"], "parent": "0"})
        # A top-level window of its own now, at the same place on the screen.
        wait_for(lambda: len(self.screen.windows_of(self.probe.pid)) == 2, SHOW_TIMEOUT,
                 "the panel's own top-level window")
        panel_window, = set(self.screen.windows_of(self.probe.pid)) - {self.form}
        self.wait_for_geometry(PANEL_AT + PANEL[2:], panel_window)
        self.wait_for_screen(lambda: same_pixels(self.pixels.grab(*PANEL_AT, *PANEL[2:]), picture),
                             "the panel's picture on its own window")

        back = fields(self.probe.command("SetParentIn"))
        self.assertEqual(back, {"hwnd": handles["panel"], "old": "0", "parent": handles["form"]})
        wait_for(lambda: self.screen.windows_of(self.probe.pid) == [self.form], SHOW_TIMEOUT,
                 "the panel's top-level window to go")
        self.wait_for_screen(lambda: same_pixels(self.pixels.grab(*PANEL_AT, *PANEL[2:]), picture),
                             "the panel's picture back in the form")
        start = len(self.probe.lines())
        self.screen.click(PANEL_AT[0] + 30, PANEL_AT[1] + 30)
        self.probe.wait_for_line(lambda line: line == "event click panel", SHOW_TIMEOUT, start)
        self.assertEqual(self.probe.events_since(start), ["event press panel 1 30 30", "event click panel"])

    def test_the_panel_control_keeps_the_place_the_window_system_gives_its_window(self):
        self.place_form()
        # Twips are 15 to the pixel.
        self.assertEqual(self.probe.command("Place"), ["300", "300", "1800", "1200"])
        self.probe.command("SetWindowPos panel 10 30 150 90 0")
        self.assertEqual(self.probe.command("Place"), ["150", "450", "2250", "1350"])
        # Out of the form, its place is on the screen.
        self.probe.command("SetParentOut")
        self.assertEqual(self.probe.command("Place"),
                         [str(15 * (FORM_AT[0] + 10)), str(15 * (FORM_AT[1] + 30)), "2250", "1350"])
        self.probe.command("SetParentIn")
        self.assertEqual(self.probe.command("Place"), ["150", "450", "2250", "1350"])
        # The panel's window stays where the window system put it.
        self.assertEqual(self.probe.command("GetWindowRect panel"),
                         [str(FORM_AT[0] + 10), str(FORM_AT[1] + 30), str(FORM_AT[0] + 160), str(FORM_AT[1] + 120)])

    def test_focus_rectangle_is_drawn_and_a_second_drawing_removes_it(self):
        self.place_form()
        # Over the form's plain background, clear of the panel.
        left, top, right, bottom = FORM_AT[0] + 150, FORM_AT[1] + 70, FORM_AT[0] + 280, FORM_AT[1] + 170
        before = self.pixels.grab(0, 0, SCREEN_WIDTH, SCREEN_HEIGHT)
        outline = border_pixels(left, top, right, bottom)
        beside = border_pixels(left - 1, top - 1, right + 1, bottom + 1) + border_pixels(left + 1, top + 1, right - 1,
                                                                                          bottom - 1)

        self.probe.command(f"FocusRect {left} {top} {right} {bottom}")

        def outlined():
            now = self.pixels.grab(0, 0, SCREEN_WIDTH, SCREEN_HEIGHT)
            return all(now.pixel(x, y) != before.pixel(x, y) for x, y in outline) and now
        now = wait_for(outlined, SHOW_TIMEOUT, "the outline along the rectangle")
        changed = [(x, y) for x, y in beside if now.pixel(x, y) != before.pixel(x, y)]
        self.assertEqual(changed, [], "pixels beside the outline changed")

        self.probe.command(f"FocusRect {left} {top} {right} {bottom}")
        self.wait_for_screen(lambda: all(self.pixel(x, y) == before.pixel(x, y) for x, y in outline),
                             "the outline gone")

    def test_window_text_round_trips_chinese(self):
        self.assertEqual(self.probe.command("Title 中文标题"), ["中文标题"])
        self.screen.wait_for_title(self.form, "中文标题")

    def test_cursor_position_in_screen_and_client_pixels(self):
        self.place_form()
        self.screen.xdotool("mousemove", "--sync", PANEL_AT[0] + 13, PANEL_AT[1] + 17)
        self.assertEqual(self.probe.command("GetCursorPos"),
                         [str(PANEL_AT[0] + 13), str(PANEL_AT[1] + 17), "13", "17"])


class WindowSystemUnderOpenboxTest(ProbeTestCase):
    """Under a window manager, which frames, places and minimises top-level windows."""

    window_manager = True

    def wait_for_frame(self, condition, what):
        """The frame extents (left, right, top, bottom) once `condition` holds for them."""
        def extents():
            now = desktop.frame_extents(self.display, self.form)
            return now if now is not None and condition(now) else None
        return wait_for(extents, SHOW_TIMEOUT, what)

    def test_set_window_pos_places_the_whole_window_frame_included(self):
        left, right, top, bottom = self.wait_for_frame(lambda e: e[2] > 0, "the window manager's frame")
        # The rectangle reads back at once, before the X server has moved anything.
        self.assertEqual(self.probe.command("SetWindowPos 100 80 300 200 0"), ["100", "80", "400", "280"])
        self.wait_for_geometry((100 + left, 80 + top, 300 - left - right, 200 - top - bottom))
        self.assertEqual(self.probe.command("GetWindowRect"), ["100", "80", "400", "280"])

    def test_clearing_the_caption_style_removes_the_decorations(self):
        self.wait_for_frame(lambda e: e[2] > 0, "the window manager's frame")
        style = int(fields(self.probe.command("ClearStyle caption"))["style"], 16)
        self.assertEqual(style & WS_CAPTION, 0)
        self.wait_for_frame(lambda e: e == (0, 0, 0, 0), "no frame")
        # _MOTIF_WM_HINTS: flags, functions, decorations, ...; flag 2 says the decorations count.
        hints = desktop.property_values(self.display, self.form, "_MOTIF_WM_HINTS")
        self.assertEqual((int(hints[0], 16) & 2, int(hints[2], 16)), (2, 0))

        style = int(fields(self.probe.command("SetStyle caption"))["style"], 16)
        self.assertEqual(style & WS_CAPTION, WS_CAPTION)
        self.wait_for_frame(lambda e: e[2] > 0, "the frame back")

    def test_close_window_minimises_and_keeps_the_window(self):
        self.wait_for_frame(lambda e: e[2] > 0, "the window manager's frame")
        self.assertEqual(self.probe.command("CloseWindow"), ["1"])
        wait_for(lambda: desktop.wm_state(self.display, self.form) == "Iconic", SHOW_TIMEOUT, "WM_STATE Iconic")
        self.assertIn("_NET_WM_STATE_HIDDEN", desktop.net_wm_state(self.display, self.form))
        self.assertEqual(self.probe.command("Title still here"), ["still", "here"])
        self.assertTrue(self.probe.alive())


if __name__ == "__main__":
    harness.main()
