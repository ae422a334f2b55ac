"""Maximising by a double-click on a frame's title strip on a desktop whose
panel keeps a strip of the monitor for itself: a dock window that reserves
its strip the way desktop panels do, under a window manager that takes the
strip off the work area. The frame then starts below a panel at the top and
ends above one at the bottom, 5 pixels wider than the monitor either way.
The control gallery's frame is the one that maximises.

Openbox puts a window that asks for the screen's very corner under a top
panel below that panel itself, so on a lone monitor only the size tells
whether the program left room for the panel; on a monitor that does not
start at the screen's corner the place tells too."""

import os
import unittest

import desktop
import harness

PANEL_THICKNESS = 30
# On the gallery frame's title strip, clear of the icon, the caption and the glyphs.
ON_TITLE_STRIP = (300, 16)
# The frame's dark separator row under its 33-pixel title strip.
SEPARATOR = ((300, 33), (70, 70, 70))


class MaximiseBesidePanelsTest(unittest.TestCase):
    """One monitor covering the whole screen."""

    SCREEN = (1280, 1024)
    # (x, y, width, height) of the monitor, when it does not cover the whole screen.
    MONITOR = None

    @classmethod
    def setUpClass(cls):
        cls.program_path = os.path.join(os.path.dirname(harness.PROGRAM), "ludex-gallery")
        cls.logs = os.path.join(harness.OUTPUT_DIR, "integration-logs")
        os.makedirs(cls.logs, exist_ok=True)
        cls.display = harness.VirtualDisplay(os.path.join(cls.logs, f"{cls.__name__}-xvfb.log"), size=cls.SCREEN,
                                             monitor=cls.MONITOR).__enter__()
        cls.addClassCleanup(cls.display.__exit__, None, None, None)
        window_manager = desktop.Openbox(cls.display, os.path.join(cls.logs, f"{cls.__name__}-openbox.log"))
        window_manager.__enter__()
        cls.addClassCleanup(window_manager.__exit__, None, None, None)
        cls.screen = harness.Screen(cls.display)
        cls.monitor = cls.MONITOR or (0, 0, *cls.SCREEN)

    def start_gallery_beside(self, edge):
        """Puts up a panel along `edge` of the monitor, then starts the gallery and waits for its frame."""
        panel = desktop.Panel(self.display, edge, PANEL_THICKNESS, self.monitor).__enter__()
        self.addCleanup(panel.__exit__, None, None, None)
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

    def maximise_and_restore(self, maximised):
        before = self.screen.geometry(self.window)
        self.screen.double_click(*self.point(*ON_TITLE_STRIP))
        self.wait_for_geometry(maximised, "maximised")
        self.screen.double_click(*self.point(*ON_TITLE_STRIP))
        self.wait_for_geometry(before, "restored")

    def test_maximising_goes_below_a_panel_at_the_top(self):
        self.start_gallery_beside("top")
        left, top, width, height = self.monitor
        # The monitor's left edge, just under the panel; 5 pixels wider than the monitor, down to its bottom.
        self.maximise_and_restore((left, top + PANEL_THICKNESS, width + 5, height - PANEL_THICKNESS))

    def test_maximising_stops_above_a_panel_at_the_bottom(self):
        self.start_gallery_beside("bottom")
        left, top, width, height = self.monitor
        # The monitor's corner; 5 pixels wider than the monitor, down to the panel.
        self.maximise_and_restore((left, top, width + 5, height - PANEL_THICKNESS))


class MaximiseBesidePanelsOnOffsetMonitorTest(MaximiseBesidePanelsTest):
    """A screen two monitors wide whose left monitor is switched off."""

    SCREEN = (2560, 1024)
    MONITOR = (1280, 0, 1280, 1024)


if __name__ == "__main__":
    harness.main()
