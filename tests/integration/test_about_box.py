"""The about box of the real program under a window manager: opened by a
click on the main window's Label2, centred with its texts, one box however
often it is opened, closed by a click on its title, kept off the task bar,
and gone with the program when the main window is closed."""

import os
import subprocess

import desktop
import harness
from harness import NEWS_PORT, SCREEN_HEIGHT, SCREEN_WIDTH, wait_for

MAIN_SIZE = (1052, 699)
ABOUT_SIZE = (504, 310)
ABOUT_TITLE = "关于"
# Client pixels of the main window.
LABEL2 = (968, 72, 73, 17)
LABEL4 = (768, 10, 41, 17)
# Client pixels of the about box, and each label's text colour: black
# (default or set), or silver for the notice.
ABOUT_LABELS = {
    "lblTitle": ((176, 16, 155, 32), "black"),
    "lblVersion": ((56, 88, 259, 15), "black"),
    "lblDescription": ((56, 128, 363, 38), "black"),
    "Label2": ((56, 184, 241, 17), "black"),
    "Label3": ((56, 208, 249, 25), "black"),
    "Label1": ((224, 288, 81, 17), "silver"),
}
# The box's background, the classic scheme's button face.
BUTTON_FACE = (240, 240, 240)
SHOW_TIMEOUT = 30


class AboutBoxTest(harness.ProgramTestCase):

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        desktop.run_openbox_for(cls)

    def setUp(self):
        super().setUp()
        self.pixels = desktop.ScreenPixels(self.display)
        self.addCleanup(self.pixels.close)
        self.screen.wait_for_title(self.window, "星澜网页游戏中心")

    def about_boxes(self):
        result = subprocess.run(["xdotool", "search", "--all", "--onlyvisible", "--pid", str(self.program.pid),
                                 "--name", f"^{ABOUT_TITLE}$"],
                                env=self.display.environment(), capture_output=True, timeout=30)
        return [int(line) for line in result.stdout.split()]

    def open_about_box(self):
        self.click_client(*harness.centre(LABEL2))
        box = wait_for(lambda: next(iter(self.about_boxes()), None), SHOW_TIMEOUT, "the about box")
        seen = []

        def painted():
            left, top = desktop.client_geometry(self.display, box)[:2]
            seen[:] = [(left, top), self.pixels.grab(left + 2, top + 2, 1, 1).pixel(0, 0)]
            return seen[1] == BUTTON_FACE
        try:
            wait_for(painted, SHOW_TIMEOUT, "the about box painted")
        except AssertionError as e:
            raise AssertionError(f"{e}; at {seen[0]} it shows {seen[1]}") from None
        return box

    def click_box(self, box, x, y):
        left, top = desktop.client_geometry(self.display, box)[:2]
        self.screen.click(left + x, top + y)

    def settle(self):
        """Waits until the program has handled every click so far: a click on
        the news label, after them, has reached the web server. (The main
        window comes to the front.)"""
        self.web.clear_requests()
        self.click_client(*harness.centre(LABEL4))
        self.web.wait_for_path("/", timeout=SHOW_TIMEOUT, port=NEWS_PORT)

    def test_main_window_and_box_as_shown(self):
        # Checks that only look share one start: the main window first, then the box it opens.
        # The icon resource's pictures, one a size: 16, 32, 48 (the deepest of each) and 256 pixels.
        sizes = {(16, 16), (32, 32), (48, 48), (256, 256)}
        main_icons = desktop.icons(self.display, self.window)
        with self.subTest("the main window carries the program's icon"):
            self.assertEqual(set(main_icons), sizes, "the main window's _NET_WM_ICON")
            self.assertTrue(all(any(picture) for picture in main_icons.values()),
                            "the main window's icon is not blank")
        with self.subTest("the main window is centred with its designed size"):
            x, y, width, height = desktop.client_geometry(self.display, self.window)
            self.assertEqual((width, height), MAIN_SIZE)
            # (1280 - 1052) / 2 = 114; (1024 - 699) / 2 = 162.5, either way of rounding will do.
            self.assertEqual(x, 114)
            self.assertIn(y, (162, 163))
        box = self.open_about_box()
        with self.subTest("Label2 opens the box centred on the screen with its texts"):
            self.assert_box_centred_with_its_texts(box)
        with self.subTest("the box copies the main window's icon when it loads"):
            self.assertEqual(desktop.icons(self.display, box), main_icons, "the about box's _NET_WM_ICON")
        with self.subTest("the box is kept off the task bar"):
            self.assertIn("_NET_WM_STATE_SKIP_TASKBAR", desktop.net_wm_state(self.display, box))
            self.assertNotIn("_NET_WM_STATE_SKIP_TASKBAR", desktop.net_wm_state(self.display, self.window))

    def assert_box_centred_with_its_texts(self, box):
        x, y, width, height = desktop.client_geometry(self.display, box)
        self.assertEqual((width, height), ABOUT_SIZE)
        self.assertEqual((x, y), ((SCREEN_WIDTH - ABOUT_SIZE[0]) // 2, (SCREEN_HEIGHT - ABOUT_SIZE[1]) // 2))
        path = os.path.join(harness.OUTPUT_DIR, "screenshots", "about-box.png")
        os.makedirs(os.path.dirname(path), exist_ok=True)
        subprocess.run(["import", "-window", "root", "-crop", f"{width}x{height}+{x}+{y}", "+repage", path],
                       env=self.display.environment(), check=True, timeout=30)

        picture = self.pixels.grab(x, y, width, height)
        for name, ((left, top, label_width, label_height), colour) in ABOUT_LABELS.items():
            ink = [picture.pixel(px, py) for py in range(top, top + label_height)
                   for px in range(left, left + label_width) if picture.pixel(px, py) != BUTTON_FACE]
            self.assertGreater(len(ink), 20, f"the text of {name}")
            darkest = min(min(pixel) for pixel in ink)
            if colour == "black":
                self.assertLess(darkest, 80, f"the black text of {name}")
            else:
                self.assertGreater(darkest, 150, f"the silver text of {name}")
        # Between the labels there is nothing but the background.
        self.assertEqual({picture.pixel(px, py) for py in range(60, 80) for px in range(20, 480)}, {BUTTON_FACE})

    def test_opening_it_twice_leaves_one_box(self):
        first = self.open_about_box()
        self.click_client(*harness.centre(LABEL2))
        self.settle()
        self.assertEqual(self.about_boxes(), [first])

    def test_the_notice_leaves_it_open_and_the_title_closes_it(self):
        box = self.open_about_box()
        self.click_box(box, *harness.centre(ABOUT_LABELS["Label1"][0]))
        self.settle()
        self.assertEqual(self.about_boxes(), [box])
        # The click on the main window put the box behind it; a click on Label2 brings it forward.
        self.assertEqual(self.open_about_box(), box)
        self.click_box(box, *harness.centre(ABOUT_LABELS["lblTitle"][0]))
        wait_for(lambda: not self.about_boxes(), SHOW_TIMEOUT, "the about box to close")
        self.assert_alive()
        # Opened again, it is a new box.
        self.open_about_box()

    def test_closing_the_main_window_with_the_box_open_ends_the_program(self):
        box = self.open_about_box()
        # The window manager asks the main window to close (WM_DELETE_WINDOW), as for Alt+F4.
        desktop.run(self.display, "wmctrl", "-i", "-c", hex(self.window))
        try:
            wait_for(lambda: not self.program.alive(), SHOW_TIMEOUT, "the program to end")
        except AssertionError as e:
            there = {True: "still there", False: "gone"}
            raise AssertionError(f"{e}; the main window is {there[self.window_exists(self.window)]}, "
                                 f"the about box {there[self.window_exists(box)]}") from None
        self.assertEqual(self.program.process.returncode, 0)
        wait_for(lambda: not harness.process_group_alive(self.program.pid), SHOW_TIMEOUT,
                 "the browser's processes to end with the program")
        self.assertFalse(self.window_exists(box), "the about box is gone")

    def window_exists(self, window):
        return subprocess.run(["xwininfo", "-id", str(window)], env=self.display.environment(),
                              capture_output=True, timeout=30).returncode == 0


if __name__ == "__main__":
    harness.main()
