"""Maximising by a double-click on a frame's title strip when the monitor
does not start at the screen's corner: a screen two monitors wide whose
left monitor is switched off, so that the one monitor lies at (1280, 0).
The window fills that monitor, not the screen's corner, and a second
double-click puts it back. (Xvfb has one output, so it can show toolkits
only one monitor at a time.) The control gallery's frame is the one that
maximises: the main window's may not change size."""

import gallery
import harness

MONITOR = (1280, 0, 1280, 1024)
SCREEN = (2560, 1024)
GALLERY_SIZE = (640, 400)


class MaximiseOnMonitorTest(gallery.GalleryTestCase):
    SCREEN = SCREEN
    MONITOR = MONITOR

    def setUp(self):
        self.start_gallery()
        self.wait_for_frame()

    def test_maximising_fills_the_monitor(self):
        left, top, width, height = MONITOR
        # Centred on the monitor: 1280 + (1280 - 640) / 2, (1024 - 400) / 2.
        centred = (1600, 312, *GALLERY_SIZE)
        self.wait_for_geometry(centred, "centred on the monitor")
        self.screen.double_click(*self.point(*gallery.ON_TITLE_STRIP))
        # The monitor's corner, its width and 5 pixels more, its whole height (no panels).
        self.wait_for_geometry((left, top, width + 5, height), "maximised on the monitor")
        self.screen.double_click(*self.point(*gallery.ON_TITLE_STRIP))
        self.wait_for_geometry(centred, "restored")

    def test_off_every_monitor_it_maximises_onto_the_nearest(self):
        self.wait_for_geometry((1600, 312, *GALLERY_SIZE), "centred on the monitor")
        start = self.point(*gallery.ON_TITLE_STRIP)
        self.screen.drag(start, (start[0] - 1280, start[1]))
        self.wait_for_geometry((320, 312, *GALLERY_SIZE), "dragged onto the switched-off half")
        self.screen.double_click(*self.point(*gallery.ON_TITLE_STRIP))
        left, top, width, height = MONITOR
        self.wait_for_geometry((left, top, width + 5, height), "maximised on the monitor")


if __name__ == "__main__":
    harness.main()
