"""What the tests of the control gallery (ludex-gallery, built beside the
program) stand on: a private X server and the gallery started afresh for
each test."""

import os
import unittest

import harness

# On the gallery frame's title strip, clear of the icon, the caption and the glyphs.
ON_TITLE_STRIP = (300, 16)
# The frame's dark separator row under its 33-pixel title strip.
SEPARATOR = ((300, 33), (70, 70, 70))


class GalleryTestCase(unittest.TestCase):
    # The screen's size, and (x, y, width, height) of its one monitor when
    # that does not cover the whole screen.
    SCREEN = (harness.SCREEN_WIDTH, harness.SCREEN_HEIGHT)
    MONITOR = None

    @classmethod
    def setUpClass(cls):
        cls.program_path = os.path.join(os.path.dirname(harness.PROGRAM), "ludex-gallery")
        cls.logs = os.path.join(harness.OUTPUT_DIR, "integration-logs")
        os.makedirs(cls.logs, exist_ok=True)
        cls.display = cls.make_display(os.path.join(cls.logs, f"{cls.__name__}-xvfb.log")).__enter__()
        cls.addClassCleanup(cls.display.__exit__, None, None, None)
        cls.screen = harness.Screen(cls.display)

    @classmethod
    def make_display(cls, log_path):
        """The X server the class's tests run on (not yet started)."""
        return harness.VirtualDisplay(log_path, size=cls.SCREEN, monitor=cls.MONITOR)

    def start_gallery(self):
        log = os.path.join(self.logs, f"{self.id().split('.', 1)[1]}.log")
        self.program = harness.Program(self.program_path, self.display.environment(), log)
        self.addCleanup(self.program.stop)
        self.window = self.screen.wait_for_window(self.program)

    def wait_for_frame(self):
        (x, y), colour = SEPARATOR
        harness.wait_for(lambda: self.screen.pixel(*self.point(x, y)) == colour, 30, "the gallery's frame")

    def point(self, x, y):
        """A point of the gallery's window on the screen, where the window is now."""
        left, top, _, _ = self.screen.geometry(self.window)
        return left + x, top + y

    def wait_for_geometry(self, geometry, what):
        harness.wait_for(lambda: self.screen.geometry(self.window) == geometry, 20,
                         f"the gallery {what} at {geometry} (it is at {self.screen.geometry(self.window)})")
