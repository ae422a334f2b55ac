"""Maximising by a double-click on a frame's title strip when the monitor
does not start at the screen's corner: a screen two monitors wide whose
left monitor is switched off, so that the one monitor lies at (1280, 0).
The window fills that monitor, not the screen's corner, and a second
double-click puts it back. (Xvfb has one output, so it can show toolkits
only one monitor at a time.) The control gallery's frame is the one that
maximises: the main window's may not change size."""

import os
import unittest

import harness

MONITOR = (1280, 0, 1280, 1024)
SCREEN = (2560, 1024)
GALLERY_SIZE = (640, 400)
# On the gallery frame's title strip, clear of the icon, the caption and the glyphs.
ON_TITLE_STRIP = (300, 16)
# The frame's dark separator row under its 33-pixel title strip.
SEPARATOR = ((300, 33), (70, 70, 70))


class MaximiseOnMonitorTest(unittest.TestCase):

    @classmethod
    def setUpClass(cls):
        cls.program_path = os.path.join(os.path.dirname(harness.PROGRAM), "ludex-gallery")
        cls.logs = os.path.join(harness.OUTPUT_DIR, "integration-logs")
        os.makedirs(cls.logs, exist_ok=True)
        cls.display = harness.VirtualDisplay(os.path.join(cls.logs, f"{cls.__name__}-xvfb.log"), size=SCREEN,
                                             monitor=MONITOR).__enter__()
        cls.addClassCleanup(cls.display.__exit__, None, None, None)
        cls.screen = harness.Screen(cls.display)

    def setUp(self):
        log = os.path.join(self.logs, f"{self.id().split('.', 1)[1]}.log")
        self.program = harness.Program(self.program_path, self.display.environment(), log)
        self.addCleanup(self.program.stop)
        self.window = self.screen.wait_for_window(self.program)
        (x, y), colour = SEPARATOR
        harness.wait_for(lambda: self.screen.pixel(*self.point(x, y)) == colour, 30, "the gallery's frame")

    def point(self, x, y):
        left, top, _, _ = self.screen.geometry(self.window)
        return left + x, top + y

    def wait_for_geometry(self, geometry, what):
        harness.wait_for(lambda: self.screen.geometry(self.window) == geometry, 20,
                         f"the gallery {what} at {geometry} (it is at {self.screen.geometry(self.window)})")

    def test_maximising_fills_the_monitor(self):
        left, top, width, height = MONITOR
        # Centred on the monitor: 1280 + (1280 - 640) / 2, (1024 - 400) / 2.
        centred = (1600, 312, *GALLERY_SIZE)
        self.wait_for_geometry(centred, "centred on the monitor")
        self.screen.double_click(*self.point(*ON_TITLE_STRIP))
        # The monitor's corner, its width and 5 pixels more, its whole height (no panels).
        self.wait_for_geometry((left, top, width + 5, height), "maximised on the monitor")
        self.screen.double_click(*self.point(*ON_TITLE_STRIP))
        self.wait_for_geometry(centred, "restored")

    def test_off_every_monitor_it_maximises_onto_the_nearest(self):
        self.wait_for_geometry((1600, 312, *GALLERY_SIZE), "centred on the monitor")
        start = self.point(*ON_TITLE_STRIP)
        self.screen.drag(start, (start[0] - 1280, start[1]))
        self.wait_for_geometry((320, 312, *GALLERY_SIZE), "dragged onto the switched-off half")
        self.screen.double_click(*self.point(*ON_TITLE_STRIP))
        left, top, width, height = MONITOR
        self.wait_for_geometry((left, top, width + 5, height), "maximised on the monitor")


if __name__ == "__main__":
    harness.main()
