"""The skinned buttons of the real program on the screen: the normal look of
all eleven, and JyxButton1's hover, pressed and normal looks as the real
pointer moves onto it, presses, releases and leaves.

Expected pixels are worked out from the drawing rules. JyxButton1 is
1215 x 375 twips (81 x 25 pixels) at client (16, 40), on a base colour of
0x00F4F4F4. Rows are checked down column 4, left of the caption:

- The outline boxes lie on pixel rows 0, 1, 2 and 3 (0, 15, 30 and 40
  twips, rounded) from the top, and on rows 23, 22, 21 and 20 (H - 25,
  H - 40, H - 55, H - 75 twips) from the bottom.
- The body is a gradient of lines every `step` twips, line i at grey level
  244 - i / 2 (rounded, halves to even) on row round(i * step / 15); the last
  line on a row sets its colour. Step 5 (normal): row r ends with line
  3r + 1, level 243.5 - 1.5r. Step 7 (hover): row 3 ends with line 7, row 5
  with 11, row 12 with 26, row 20 with 43, row 24 with 52. Step 3 (pressed):
  row r ends with line 5r + 2, level 243 - 2.5r.
"""

import os
import subprocess
import time

import desktop
import harness
from harness import PAGE_COLOURS, REDIRECT_PORT

DARK = (19, 20, 21)           # 0x00151413
WHITE = (255, 255, 255)
LIGHT_GREY = (180, 181, 181)  # 0x00B5B5B4
HOVER_GREY = (109, 110, 111)  # 0x006F6E6D


def grey(level):
    return (level, level, level)


# Column 4 of JyxButton1, row by row, in each look.
NORMAL = {0: DARK, 1: WHITE, 2: grey(240), 5: grey(236), 12: grey(226), 20: grey(214), 21: grey(212),
          22: WHITE, 23: DARK, 24: grey(208)}
HOVER = {0: HOVER_GREY, 1: DARK, 2: WHITE, 3: grey(240), 5: grey(238), 12: grey(231), 20: grey(222),
         21: WHITE, 22: DARK, 23: HOVER_GREY, 24: grey(218)}
PRESSED = {0: DARK, 1: LIGHT_GREY, 2: DARK, 3: WHITE, 4: grey(233), 5: grey(230), 12: grey(213),
           19: grey(196), 20: WHITE, 21: DARK, 22: LIGHT_GREY, 23: DARK, 24: grey(183)}
COLUMN = 4

BUTTON1 = (16, 40, 81, 25)
# The eleven buttons (x, y, width, height) in client pixels; column 3 of each
# shows, in the normal look, the dark line on row 0, the white line on row 1
# and level 236 on row 5, whatever the height.
BUTTONS = [(16 + 96 * n, 40, 81, 25) for n in range(9)] + [(888, 40, 81, 25), (720, 8, 25, 17)]
# On the frame below the row of buttons, clear of every label.
AWAY = (56, 80)
IN_BROWSER = (500, 400)
# JyxButton1 opens the start page again.
START_PATH = "/pre.php?r=3141_13_0"
GAME_1_TITLE = "星澜游戏中心-傲视天地游戏中"

# The hover look goes within a tick of the button's 100 ms timer after the
# pointer leaves; a few hundred milliseconds leave room for a busy machine.
LEAVE_DEADLINE = 0.4
LOOK_TIMEOUT = 20


def looks_like(picture, column, rows):
    """The rows of `rows` whose pixel in `column` is not the expected one, as (row, found, expected)."""
    return [(row, picture.pixel(column, row), colour) for row, colour in sorted(rows.items())
            if picture.pixel(column, row) != colour]


def caption_ink(picture):
    """How many pixels inside the button are the caption's magenta, more or less."""
    count = 0
    for y in range(3, 21):
        for x in range(5, 76):
            red, green, blue = picture.pixel(x, y)
            count += red - green > 100 and blue - green > 100
    return count


class ButtonLooksTest(harness.ProgramTestCase):

    def setUp(self):
        super().setUp()
        self.pixels = desktop.ScreenPixels(self.display)
        self.addCleanup(self.pixels.close)
        x, y = self.client_point(*BUTTON1[:2])
        self.button_at = (x, y)

    def button(self):
        return self.pixels.grab(*self.button_at, *BUTTON1[2:])

    def wait_for_look(self, rows, what, nudge=None):
        """Waits until JyxButton1 shows `rows` down its column; `nudge` runs before every look."""
        last = []

        def shown():
            if nudge:
                nudge()
            last[:] = [self.button()]
            return not looks_like(last[0], COLUMN, rows) and last[0]
        try:
            return harness.wait_for(shown, LOOK_TIMEOUT, what)
        except AssertionError as e:
            raise AssertionError(f"{e}; rows that differ: {looks_like(last[0], COLUMN, rows)}") from None

    def point_on_button(self, x, y):
        return self.button_at[0] + x, self.button_at[1] + y

    def test_buttons_start_in_the_normal_look(self):
        # Checks that only look share one start.
        with self.subTest("all eleven buttons start in the normal look"):
            self.screen.wait_for_pixel(*self.client_point(*IN_BROWSER), lambda p: p == PAGE_COLOURS[REDIRECT_PORT],
                                       timeout=30, what="the start page in the browser")
            for x, y, width, height in BUTTONS:
                left, top = self.client_point(x, y)
                harness.wait_for(lambda: [self.pixels.grab(left + 3, top + row, 1, 1).pixel(0, 0)
                                          for row in (0, 1, 5)] == [DARK, WHITE, grey(236)],
                                 LOOK_TIMEOUT, f"the normal look of the button at ({x}, {y})")
            window_x, window_y, width, height = self.screen.geometry(self.window)
            path = os.path.join(harness.OUTPUT_DIR, "screenshots", "buttons.png")
            os.makedirs(os.path.dirname(path), exist_ok=True)
            subprocess.run(["import", "-window", "root", "-crop", f"{width}x{height}+{window_x}+{window_y}",
                            "+repage", path], env=self.display.environment(), check=True, timeout=30)
        with self.subTest("the normal look has rounded corners"):
            picture = self.wait_for_look(NORMAL, "the normal look")
            # The corner pixel lies outside the button's rounded region, so the
            # frame's row shows through it just as it does left of the button.
            left = self.pixels.grab(self.button_at[0] - 1, self.button_at[1], 1, 1).pixel(0, 0)
            self.assertEqual(picture.pixel(0, 0), left)
            self.assertNotEqual(picture.pixel(0, 0), DARK)
            self.assertEqual(picture.pixel(1, 0), DARK)

    def test_hover_press_release_and_leave(self):
        normal = self.wait_for_look(NORMAL, "the normal look")
        regular_ink = caption_ink(normal)
        self.assertGreater(regular_ink, 20, "the caption in magenta")
        self.web.wait_for_path(START_PATH, port=REDIRECT_PORT)

        # A move draws the hover look once the timer has found the pointer
        # outside, so the pointer keeps moving inside the button until it shows.
        inside = [self.point_on_button(8, 12), self.point_on_button(9, 13)]

        def nudge():
            inside.reverse()
            self.screen.xdotool("mousemove", "--sync", *inside[0])
        self.wait_for_look(HOVER, "the hover look", nudge)

        self.screen.xdotool("mousedown", 1)
        pressed = self.wait_for_look(PRESSED, "the pressed look")
        bold_ink = caption_ink(pressed)
        self.assertGreater(bold_ink, regular_ink * 1.2, "the bold caption")

        self.screen.xdotool("mouseup", 1)
        released = self.wait_for_look(HOVER, "the hover look after the release")
        self.assertLess(caption_ink(released), bold_ink / 1.2, "the regular caption after the release")

        # The press opened the game; let its page load before timing the leave.
        start_page = (REDIRECT_PORT, START_PATH)
        harness.wait_for(lambda: self.web.requests().count(start_page) == 2, 30, "the game's page to be asked for")
        self.screen.wait_for_title(self.window, GAME_1_TITLE)
        self.screen.wait_for_pixel(*self.client_point(*IN_BROWSER), lambda p: p == PAGE_COLOURS[REDIRECT_PORT],
                                   timeout=30, what="the game's page in the browser")
        self.screen.xdotool("mousemove", "--sync", *self.client_point(*AWAY))
        left_at = time.monotonic()
        last = []
        while True:
            last[:] = [self.button()]
            elapsed = time.monotonic() - left_at
            if not looks_like(last[0], COLUMN, NORMAL):
                break
            if elapsed > LEAVE_DEADLINE:
                self.fail(f"the normal look did not come back within {LEAVE_DEADLINE} s of the pointer leaving; "
                          f"rows that differ: {looks_like(last[0], COLUMN, NORMAL)}")
        self.assertLess(caption_ink(last[0]), bold_ink / 1.2, "the regular caption after leaving")


if __name__ == "__main__":
    harness.main()
