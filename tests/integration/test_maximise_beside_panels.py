"""Maximising by a double-click on a frame's title strip on a desktop whose
panel keeps a strip of the monitor for itself: a dock window that reserves
its strip the way desktop panels do, under a window manager that takes the
strip off the work area. The frame then starts below a panel at the top and
ends above one at the bottom, 5 pixels wider than the monitor either way;
beside a panel at the left or right it keeps the monitor's whole height and
starts right of a left panel, 5 pixels wider than what the panel leaves.
The control gallery's frame is the one that maximises.

Openbox puts a window that asks for the screen's very corner under a top
panel below that panel itself, so on a lone monitor only the size tells
whether the program left room for the panel; on a monitor that does not
start at the screen's corner the place tells too."""

import desktop
import gallery
import harness

PANEL_THICKNESS = 30


class MaximiseBesidePanelsTest(gallery.GalleryTestCase):
    """One monitor covering the whole screen."""

    SCREEN = (1280, 1024)
    # (x, y, width, height) of the monitor, when it does not cover the whole screen.
    MONITOR = None

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        desktop.run_openbox_for(cls)
        cls.monitor = cls.MONITOR or (0, 0, *cls.SCREEN)

    def start_gallery_beside(self, edge):
        """Puts up a panel along `edge` of the monitor, then starts the gallery and waits for its frame."""
        panel = desktop.Panel(self.display, edge, PANEL_THICKNESS, self.monitor).__enter__()
        self.addCleanup(panel.__exit__, None, None, None)
        self.start_gallery()
        self.wait_for_frame()

    def maximise_and_restore(self, maximised):
        before = self.screen.geometry(self.window)
        self.screen.double_click(*self.point(*gallery.ON_TITLE_STRIP))
        self.wait_for_geometry(maximised, "maximised")
        self.screen.double_click(*self.point(*gallery.ON_TITLE_STRIP))
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


    def test_maximising_starts_right_of_a_panel_at_the_left(self):
        self.start_gallery_beside("left")
        left, top, width, height = self.monitor
        # Just right of the panel, at the monitor's top; 5 pixels wider than what the panel leaves, all the height.
        # (Openbox takes more than the panel off a monitor right of the screen's corner: a left strut that
        # reaches past the screen's middle leaves only the monitor's right half. The window goes by the work
        # area that the window manager publishes.)
        work_left, _, work_width, _ = desktop.work_area(self.display)
        if self.MONITOR is None:
            self.assertEqual((work_left, work_width), (left + PANEL_THICKNESS, width - PANEL_THICKNESS))
        self.maximise_and_restore((work_left, top, work_width + 5, height))

    def test_maximising_beside_a_panel_at_the_right_keeps_the_height(self):
        self.start_gallery_beside("right")
        left, top, width, height = self.monitor
        # The monitor's corner; 5 pixels wider than what the panel leaves (so 5 over the panel), all the height.
        self.maximise_and_restore((left, top, width - PANEL_THICKNESS + 5, height))


class MaximiseBesidePanelsOnOffsetMonitorTest(MaximiseBesidePanelsTest):
    """A screen two monitors wide whose left monitor is switched off."""

    SCREEN = (2560, 1024)
    MONITOR = (1280, 0, 1280, 1024)


if __name__ == "__main__":
    harness.main()
