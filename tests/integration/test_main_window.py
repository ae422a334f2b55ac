"""The main window of the real program under X: start-up, a game button, the
address box and a link label, each sending the browser to the loopback web
server and setting the window's title."""

import os

import desktop
import harness
from harness import DIRECTORY_PORT, NEWS_PORT, PAGE_COLOURS, REDIRECT_PORT, SCREEN_HEIGHT, SCREEN_WIDTH

# Client-area geometry of the main window, in pixels.
CLIENT_WIDTH = 1052
CLIENT_HEIGHT = 699
BUTTON3 = (208, 40, 81, 25)
TEXT1 = (384, 8, 329, 18)
LABEL4 = (768, 10, 41, 17)
# A point well inside the browser (0, 88, 1049 x 609).
IN_BROWSER = (500, 400)
# On the frame's title strip (33 pixels high), clear of the caption and labels.
ON_TITLE_STRIP = (250, 16)
# The close glyph: its label's left edge lies 500 twips (33 1/3 pixels) from the
# right of the 1052-pixel frame, about 20 pixels wide, centred on the strip.
ON_CLOSE_GLYPH = (1028, 20)

# The frame JyxSkin1 over the whole 1052 x 699 window (15780 x 10485 twips), with BackColor
# 0x00C0FFC0 (red 192, green 255, blue 192), ArrayStyle 6, black captions, no roll glyph and no
# separator lines:
# - stripes every 6 x 5 = 30 twips, that is on every even pixel row 2i (stripe i), each 0.1 darker
#   in every channel than the one before; the odd rows between show the base colour;
# - glyphs packed from the right: close at 15780 - 500 = 15280 twips (1018.7 pixels), minimise
#   350 twips left of it at 14930 (995.3); the roll glyph's place would have been 14580 (972);
# - the caption from 600 twips (40 pixels); the icon 20 x 20 at x = 10, y = round(495 / 30 - 9) =
#   round(7.5) = 8 (halves to even);
# - the title strip is 495 twips (33 pixels): a separator would darken row 33 to (70, 70, 70) and
#   lighten row 34 to (200, 200, 200).
FRAME_BASE = (192, 255, 192)
FRAME_SPACING_PIXELS = 2
# Columns of the frame that no control or label covers above the browser (which starts at row 88).
FRAME_CLEAR_COLUMNS = (300, 1045)
FRAME_CLEAR_ROWS = range(5, 88)
TITLE_STRIP = (0, 0, 1052, 33)
CLOSE_GLYPH = (1019, 5, 20, 27)
MINIMISE_GLYPH = (995, 5, 20, 27)
ROLL_GLYPH_PLACE = (972, 5, 20, 27)
CAPTION_TEXT = (40, 5, 110, 27)
ICON = (10, 8, 20, 20)
# Between the icon and the caption: stripes only.
ICON_TO_CAPTION = (31, 1, 9, 31)


def stripe_colour(i):
    """Stripe i of the frame: the base colour lowered by 0.1 a stripe, by repeated double-precision
    subtraction while every channel is above zero, each rounded to the nearest, halves to even."""
    channels = [float(c) for c in FRAME_BASE]
    for _ in range(i):
        if all(c > 0 for c in channels):
            channels = [c - 0.1 for c in channels]
    return tuple(round(c) for c in channels)


def frame_row_colour(row):
    return stripe_colour(row // FRAME_SPACING_PIXELS) if row % FRAME_SPACING_PIXELS == 0 else FRAME_BASE


def black_coverage(seen, background):
    """How much of a pixel black text covers, 0 to 1, when the pixel is black laid over the
    background with some coverage (antialiased text); None when it is any other colour."""
    share = seen[1] / background[1]
    if all(abs(s - share * b) <= 2 for s, b in zip(seen, background)):
        return 1 - share
    return None


def dark_pixels(pixels):
    return sum(1 for p in pixels if sum(p) < 150)


START_PATH = "/pre.php?r=3141_13_0"
APP_TITLE = "星澜网页游戏中心"


class MainWindowTest(harness.ProgramTestCase):

    def test_start_up_as_shown(self):
        # Checks that only look share one start.
        with self.subTest("the start page opens with the application's title"):
            self.web.wait_for_path(START_PATH, port=REDIRECT_PORT)
            self.screen.wait_for_title(self.window, APP_TITLE)
            self.screen.wait_for_pixel(*self.client_point(*IN_BROWSER), lambda p: p == PAGE_COLOURS[REDIRECT_PORT],
                                       timeout=30, what="the start page in the browser")
            self.screen.screenshot(os.path.join(harness.OUTPUT_DIR, "screenshots", "main-window.png"))
        with self.subTest("the window is centred with the designed client size"):
            x, y, width, height = self.screen.geometry(self.window)
            self.assertEqual((width, height), (CLIENT_WIDTH, CLIENT_HEIGHT))
            # (1280 - 1052) / 2 = 114; (1024 - 699) / 2 = 162.5, either way of rounding will do.
            self.assertEqual(x, (SCREEN_WIDTH - CLIENT_WIDTH) // 2)
            self.assertIn(y, ((SCREEN_HEIGHT - CLIENT_HEIGHT) // 2, (SCREEN_HEIGHT - CLIENT_HEIGHT + 1) // 2))
        with self.subTest("the address box fills exactly its designed place"):
            x, y, width, height = TEXT1
            left, top = self.client_point(x, y)
            right, bottom = left + width - 1, top + height - 1
            white = (255, 255, 255)
            self.screen.wait_for_pixel(right - 2, top + height // 2, lambda p: p == white, timeout=20,
                                       what="the inside of the box drawn white")
            picture = self.screen.capture()
            border = picture.pixel(left, top)
            self.assertEqual([picture.pixel(px, py) for px, py in ((right, top), (left, bottom), (right, bottom))],
                             [border] * 3, "the box's corners")
            outside = [picture.pixel(px, py) for px, py in ((left - 1, top), (right + 1, top), (left, top - 1),
                                                            (left, bottom + 1))]
            self.assertNotIn(border, outside, "the pixels just outside the box")

    def test_pressing_game_button_3_opens_its_game_and_names_it_in_the_title(self):
        self.web.wait_for_path(START_PATH, port=REDIRECT_PORT)
        self.click_client(*harness.centre(BUTTON3))
        self.web.wait_for_path("/pre.php?r=3141_65_0", port=REDIRECT_PORT)
        self.screen.wait_for_title(self.window, "星澜游戏中心-天地英雄游戏中")

    def test_right_button_press_on_a_game_button_navigates_too(self):
        self.web.wait_for_path(START_PATH, port=REDIRECT_PORT)
        self.click_client(*harness.centre(BUTTON3), button=3)
        self.web.wait_for_path("/pre.php?r=3141_65_0", port=REDIRECT_PORT)
        self.screen.wait_for_title(self.window, "星澜游戏中心-天地英雄游戏中")

    def test_double_click_on_a_game_button_opens_its_game_twice(self):
        # The second press of a double-click is a press of its own.
        self.web.wait_for_path(START_PATH, port=REDIRECT_PORT)
        self.double_click_client(*harness.centre(BUTTON3))
        game = (REDIRECT_PORT, "/pre.php?r=3141_65_0")
        harness.wait_for(lambda: self.web.requests().count(game) == 2, 30, "two visits of the game's address")
        self.screen.wait_for_title(self.window, "星澜游戏中心-天地英雄游戏中")

    def test_dragging_the_title_strip_moves_the_window(self):
        self.screen.wait_for_title(self.window, APP_TITLE)
        x, y = self.client_point(*ON_TITLE_STRIP)
        self.screen.drag((x, y), (x + 100, y + 50))
        moved = (self.origin[0] + 100, self.origin[1] + 50)
        harness.wait_for(lambda: self.screen.geometry(self.window)[:2] == moved, 20, f"the window to move to {moved}")

    def test_close_glyph_ends_the_program_with_its_helper_processes(self):
        self.screen.wait_for_title(self.window, APP_TITLE)
        self.web.wait_for_path(START_PATH, port=REDIRECT_PORT)
        self.click_client(*ON_CLOSE_GLYPH)
        harness.wait_for(lambda: not self.program.alive(), 30, "the program to end")
        self.assertEqual(self.program.process.returncode, 0)
        harness.wait_for(lambda: not harness.process_group_alive(self.program.pid), 30,
                         "the browser's processes to end with the program")

    def test_typed_address_and_enter_load_it(self):
        self.screen.wait_for_title(self.window, APP_TITLE)
        self.click_client(*harness.centre(TEXT1))
        self.screen.key("ctrl+a")
        self.screen.type(f"127.0.0.1:{NEWS_PORT}/typed")
        self.screen.key("Return")
        self.web.wait_for_path("/typed", port=NEWS_PORT)
        self.screen.wait_for_title(self.window, "星澜网页游戏-浏览网页中")
        self.screen.wait_for_pixel(*self.client_point(*IN_BROWSER), lambda p: p == PAGE_COLOURS[NEWS_PORT],
                                   timeout=30, what="the typed page in the browser")

    def test_news_label_opens_the_news_portal(self):
        self.screen.wait_for_title(self.window, APP_TITLE)
        self.click_client(*harness.centre(LABEL4))
        self.web.wait_for_path("/", port=NEWS_PORT)
        self.screen.wait_for_title(self.window, "星澜游戏中心-浏览新闻中")
        self.assertNotIn(DIRECTORY_PORT, [port for port, _ in self.web.requests()])


class MainWindowFrameTest(harness.ProgramTestCase):
    """The frame of the main window itself, read from the screen under a window manager."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        desktop.run_openbox_for(cls)

    def setUp(self):
        super().setUp()
        self.screen.wait_for_title(self.window, APP_TITLE)
        self.screen.move_pointer(0, 0)

    def region(self, picture, rect):
        x, y, width, height = rect
        return [picture.pixel(*self.client_point(x + i, y + j)) for j in range(height) for i in range(width)]

    def frame_mismatches(self, picture):
        """The places where the frame's stripes, glyphs, caption and icon are not as drawn by its rules."""
        wrong = []
        for x in FRAME_CLEAR_COLUMNS:
            for y in FRAME_CLEAR_ROWS:
                seen = picture.pixel(*self.client_point(x, y))
                if seen != frame_row_colour(y):
                    wrong.append((f"stripe row {y} at column {x}", seen, frame_row_colour(y)))
        # Text and glyphs in black: every pixel is black over the stripes at some coverage, and
        # some are nearly fully covered (thin strokes antialiased).
        for what, rect in (("the close glyph", CLOSE_GLYPH), ("the minimise glyph", MINIMISE_GLYPH),
                           ("the caption", CAPTION_TEXT)):
            x, y, width, height = rect
            coverage = [black_coverage(picture.pixel(*self.client_point(x + i, y + j)), frame_row_colour(y + j))
                        for j in range(height) for i in range(width)]
            if None in coverage:
                wrong.append((what, "a pixel that is not black over the stripes", "black text"))
            elif sum(1 for c in coverage if c > 0.75) < 3:
                wrong.append((what, f"{sum(1 for c in coverage if c > 0.75)} dark pixels", "at least 3"))
        for what, rect in (("the roll glyph's place", ROLL_GLYPH_PLACE), ("between icon and caption", ICON_TO_CAPTION)):
            x, y, width, height = rect
            for j in range(height):
                for i in range(width):
                    seen = picture.pixel(*self.client_point(x + i, y + j))
                    if seen != frame_row_colour(y + j):
                        wrong.append((f"{what} at ({x + i}, {y + j})", seen, frame_row_colour(y + j)))
                        break
        x, y, width, height = ICON
        drawn = sum(picture.pixel(*self.client_point(x + i, y + j)) != frame_row_colour(y + j)
                    for j in range(height) for i in range(width))
        # The icon's picture covers most of its 20 x 20 square.
        if drawn < 200:
            wrong.append(("the icon", f"{drawn} pixels drawn", "at least 200 of 400"))
        return wrong

    def wait_for_frame(self, what):
        last = []

        def drawn():
            last[:] = self.frame_mismatches(self.screen.capture())
            return not last
        try:
            harness.wait_for(drawn, 30, what)
        except AssertionError as e:
            raise AssertionError(f"{e}; differing (what, seen, expected): {last[:6]}") from None

    def title_strip_shot(self, name):
        x, y = self.client_point(*TITLE_STRIP[:2])
        self.screen.screenshot(os.path.join(harness.OUTPUT_DIR, "screenshots", name), (x, y, *TITLE_STRIP[2:]))

    def test_frame_shows_stripes_caption_icon_and_two_glyphs(self):
        self.wait_for_frame("the frame drawn by its settings")
        self.title_strip_shot("main-title-strip.png")

    def test_hovered_glyphs_turn_bold_and_back(self):
        self.wait_for_frame("the frame drawn by its settings")
        plain = self.screen.capture()
        for name, glyph in (("close", CLOSE_GLYPH), ("minimise", MINIMISE_GLYPH)):
            self.screen.move_pointer(*self.client_point(*harness.centre(glyph)))
            harness.wait_for(lambda: self.region(self.screen.capture(), glyph) != self.region(plain, glyph), 30,
                             f"the {name} glyph bold under the pointer")
            hovered = self.screen.capture()
            # Bold: more of its square is dark than before.
            self.assertGreater(dark_pixels(self.region(hovered, glyph)), dark_pixels(self.region(plain, glyph)))
            if name == "close":
                self.title_strip_shot("main-title-strip-close-hovered.png")
            else:
                # By way of the address box: the strip then sees the pointer come in, and no motion.
                self.screen.move_pointer(*self.client_point(*harness.centre(TEXT1)))
            self.screen.move_pointer(*self.client_point(*ON_TITLE_STRIP))
            harness.wait_for(lambda: self.region(self.screen.capture(), glyph) == self.region(plain, glyph), 30,
                             f"the {name} glyph regular again off it")

    def test_minimise_glyph_iconifies_and_the_window_comes_back_whole(self):
        self.wait_for_frame("the frame drawn by its settings")
        self.click_client(*harness.centre(MINIMISE_GLYPH))
        harness.wait_for(lambda: "_NET_WM_STATE_HIDDEN" in desktop.net_wm_state(self.display, self.window), 30,
                         "the window hidden")
        self.assertEqual(desktop.wm_state(self.display, self.window), "Iconic")
        self.screen.xdotool("windowactivate", "--sync", self.window)
        harness.wait_for(lambda: desktop.wm_state(self.display, self.window) == "Normal", 30, "the window shown again")
        self.assertNotIn("_NET_WM_STATE_HIDDEN", desktop.net_wm_state(self.display, self.window))
        self.assertEqual(self.screen.geometry(self.window)[2:], (CLIENT_WIDTH, CLIENT_HEIGHT))
        self.screen.move_pointer(0, 0)
        self.wait_for_frame("the frame whole again")


if __name__ == "__main__":
    harness.main()
