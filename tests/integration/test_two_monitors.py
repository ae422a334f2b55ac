"""Two monitors side by side for real (Xorg with the dummy video driver, each
monitor its own output): the gallery's frame maximises onto the monitor it
stands on and fills it; a popped-out window case centres over the gallery on
that monitor; the about box opens centred on the monitor of the main window
that opens it. No window manager: each monitor's work area is all of it."""

import desktop
import gallery
import harness
from harness import wait_for

LEFT, RIGHT = desktop.TwoMonitorDisplay.MONITORS
GALLERY_SIZE = (640, 400)
POP_OUT_BUTTON = (70, 48, 81, 25)
CASE2_SIZE = (280, 180)
# The main window's Label2, which opens the about box, and a point of its frame's title strip.
LABEL2 = (968, 72, 73, 17)
MAIN_TITLE_STRIP = (250, 16)
ABOUT_SIZE = (504, 310)


def centred_on(monitor, size):
    left, top, width, height = monitor
    return left + (width - size[0]) // 2, top + (height - size[1]) // 2


class TwoMonitorGalleryTest(gallery.GalleryTestCase):

    @classmethod
    def make_display(cls, log_path):
        return desktop.TwoMonitorDisplay(log_path)

    def setUp(self):
        self.start_gallery()
        self.wait_for_frame()
        # It starts centred on the primary, left monitor.
        self.wait_for_geometry((*centred_on(LEFT, GALLERY_SIZE), *GALLERY_SIZE), "centred on the left monitor")

    def move_to_the_right_monitor(self):
        start = self.point(*gallery.ON_TITLE_STRIP)
        self.screen.drag(start, (start[0] + RIGHT[0], start[1]))
        self.wait_for_geometry((*centred_on(RIGHT, GALLERY_SIZE), *GALLERY_SIZE), "dragged onto the right monitor")

    def maximise_and_restore(self, monitor):
        before = self.screen.geometry(self.window)
        self.screen.double_click(*self.point(*gallery.ON_TITLE_STRIP))
        left, top, width, height = monitor
        # The monitor's corner, its width and 5 pixels more, its whole height.
        self.wait_for_geometry((left, top, width + 5, height), "maximised on its monitor")
        self.screen.double_click(*self.point(*gallery.ON_TITLE_STRIP))
        self.wait_for_geometry(before, "restored")

    def test_maximising_fills_the_left_monitor(self):
        self.maximise_and_restore(LEFT)

    def test_maximising_fills_the_right_monitor(self):
        self.move_to_the_right_monitor()
        self.maximise_and_restore(RIGHT)

    def test_popped_out_case_centres_over_the_gallery_on_the_right_monitor(self):
        self.move_to_the_right_monitor()
        left, top, _, _ = self.screen.geometry(self.window)
        self.screen.click(left + POP_OUT_BUTTON[0] + 40, top + POP_OUT_BUTTON[1] + 12)
        floating = wait_for(lambda: next(iter(w for w in self.screen.windows_of(self.program.pid)
                                               if w != self.window), None), 30, "the floating panel")
        # Half the gallery's size less half the case's from the gallery's corner: 320 - 140, 200 - 90.
        expected = (left + 180, top + 110, *CASE2_SIZE)
        wait_for(lambda: self.screen.geometry(floating) == expected, 30,
                 f"the panel at {expected} (it is at {self.screen.geometry(floating)})")


class TwoMonitorAboutBoxTest(harness.ProgramTestCase):

    @classmethod
    def make_display(cls, log_path):
        return desktop.TwoMonitorDisplay(log_path)

    def test_about_box_opens_on_the_monitor_of_the_main_window(self):
        main_size = self.screen.geometry(self.window)[2:]
        self.assertEqual(self.screen.geometry(self.window)[:2], centred_on(LEFT, main_size))
        start = self.client_point(*MAIN_TITLE_STRIP)
        self.screen.drag(start, (start[0] + RIGHT[0], start[1]))
        moved = centred_on(RIGHT, main_size)
        wait_for(lambda: self.screen.geometry(self.window)[:2] == moved, 30, f"the main window at {moved}")
        self.origin = moved
        self.click_client(*harness.centre(LABEL2))
        box = wait_for(lambda: next(iter(w for w in self.screen.windows_of(self.program.pid) if w != self.window),
                                    None), 30, "the about box")
        expected = (*centred_on(RIGHT, ABOUT_SIZE), *ABOUT_SIZE)
        wait_for(lambda: self.screen.geometry(box) == expected, 30,
                 f"the about box at {expected} (it is at {self.screen.geometry(box)})")


if __name__ == "__main__":
    harness.main()
