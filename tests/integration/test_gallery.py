"""The control gallery under X with real input: its frame (corner resizing
with an outline, rolling up and down, maximising and restoring), and its two
window cases (painting, dragging, corner resizing, rolling, and floating out
over the disabled gallery and back in)."""

import os

import gallery
import harness
from harness import SCREEN_HEIGHT, SCREEN_WIDTH

GALLERY_CAPTION = "星澜控件展示"
GREETING_CAPTION = "星澜控件展示-你好"
PANEL_CAPTION = "浮动面板"

# The gallery's client area and its controls, in pixels (the definition's twips / 15).
CLIENT_SIZE = (640, 400)
POP_OUT_BUTTON = (70, 48, 81, 25)
GREETING_BUTTON = (165, 48, 81, 25)
CASE1 = (24, 100)   # 3480 x 2280 twips: 232 x 152 pixels, all settings as they come
CASE2 = (330, 100)  # 4200 x 2700 twips: 280 x 180 pixels, the floating panel
PUT_BACK_BUTTON = (100, 120, 81, 25)  # on the second case

FRAME_GREY = (180, 180, 180)
BLACK = (0, 0, 0)
LIGHT_GREY = (200, 200, 200)
DARK_GREY = (100, 100, 100)
WHITE = (255, 255, 255)

# The frame (JyxSkin with its defaults) over the 640 x 400 gallery:
# - the border is the box (0, 0)-(9600 - 25, 6000 - 25) twips: pixel columns 0 and 638 (9575 / 15 = 638.3);
# - under the 495-twip title strip a dark row at 495 twips (row 33) and a light one at 507 (33.8: row 34);
# - stripes every 20 twips in 0x404040 darkening by 0.1 a stripe: stripe 42 (840 twips) lies on
#   row 56 in 64 - 4.2 = 59.8 -> 60; no stripe lands on row 58 (stripes 43 and 44 fall on rows 57
#   and 59), which shows the base colour 64.
FRAME_BORDER_COLUMNS = (0, 638)
FRAME_SEPARATOR_ROWS = {33: (70, 70, 70), 34: LIGHT_GREY}
FRAME_STRIPE_ROWS = {56: (60, 60, 60), 58: (64, 64, 64)}
# Glyphs, from the right: close at 9600 - 500 twips, roll 350 twips further left (583.3 pixels),
# each 19 pixels wide, from 10.2 pixels down. Two presses more than 5 pixels apart are never
# taken for a double-click.
FRAME_ROLL_GLYPH = (583, 10, 20, 20)
FRAME_ROLL_GLYPH_POINTS = ((586, 15), (598, 25))
# A rolled-up frame is its 495-twip title strip and 30 twips more: 525 twips, 35 pixels.
FRAME_ROLLED_HEIGHT = 35

# The first case, 3480 x 2280 twips, as it comes (BackColor 0x00C0E0FF: red 255, green 224,
# blue 192; lines every 20 twips):
# - three boxes: frame grey (0, 0)-(3470, 2270) twips = pixels (0, 0)-(231, 151), black
#   (10, 10)-(3450, 2250) = (1, 1)-(230, 150), frame grey (30, 30)-(3440, 2240) = (2, 2)-(229, 149);
# - separator lines at 495 + 10 (33.7: row 34, light), 495 + 20 (34.3: row 34 again, dark, drawn
#   over it) and 495 + 30 (row 35, light);
# - line 42 (840 twips, row 56) in 255 - 4.2, 224 - 4.2, 192 - 4.2 = (251, 220, 188); row 58 has
#   no line and shows the base colour.
CASE1_COLUMNS = {0: FRAME_GREY, 1: BLACK, 2: FRAME_GREY, 229: FRAME_GREY, 230: BLACK, 231: FRAME_GREY}
CASE1_ROWS = {0: FRAME_GREY, 1: BLACK, 2: FRAME_GREY, 34: DARK_GREY, 35: LIGHT_GREY, 56: (251, 220, 188),
              58: (255, 224, 192), 149: FRAME_GREY, 150: BLACK, 151: FRAME_GREY}
CASE1_SIZE = (232, 152)
# Its title strip, clear of the caption (from 13 pixels) and the glyphs (from 172 pixels).
CASE1_ON_TITLE = (120, 16)
# The roll glyph: 3480 - 900 twips = 172 pixels from the left, 19 pixels wide, from 10.5 down.
CASE1_ROLL_GLYPH_POINTS = ((175, 15), (188, 25))
# The grip: 3380 < x < 3480 and 2180 < y < 2280 twips, pixels 226 to 231 and 146 to 151.
CASE1_IN_GRIP = (229, 149)
# Rolled up, the case is 2280 - (2280 - 495 - 50) = 545 twips high: 36.3, so 36 pixels. Repainted
# at that height, its black box ends at (545 - 30) / 15 = 34.3 -> row 34, so column 1 of row 35
# shows line 26 (520 twips, 34.7 -> row 35) in 255 - 2.6, 224 - 2.6, 192 - 2.6 = (252, 221, 189).
CASE1_ROLLED_HEIGHT = 36
CASE1_ROLLED_CORNER = (252, 221, 189)

# The second case, 4200 x 2700 twips, BackColor 0x00FFE8D0 (208, 232, 255), ArrayStyle 3: a
# line on every pixel row. Boxes: frame grey (0, 0)-(4190, 2690) twips = (0, 0)-(279, 179),
# black (10, 10)-(4170, 2670) = (1, 1)-(278, 178). Line 60 (row 60) is 6 units darker.
CASE2_SIZE = (280, 180)
CASE2_COLUMNS = {0: FRAME_GREY, 1: BLACK, 278: BLACK, 279: FRAME_GREY}
CASE2_ROWS = {0: FRAME_GREY, 1: BLACK, 60: (202, 226, 249), 178: BLACK, 179: FRAME_GREY}
# The close glyph: 4200 - 500 twips = 246.7 pixels from the left.
CASE2_CLOSE_GLYPH = (255, 20)


class GalleryTest(gallery.GalleryTestCase):
    """Each test runs the gallery afresh on one X server."""

    def setUp(self):
        self.start_gallery()
        # Shown centred at once; every test starts with the pointer off the gallery.
        self.origin = self.screen.geometry(self.window)[:2]
        self.screen.move_pointer(0, 0)
        self.wait_for_case(self.point(*CASE1), CASE1_SIZE, CASE1_COLUMNS, CASE1_ROWS, "the first case painted")

    # --- helpers ------------------------------------------------------------------

    def point(self, x, y, within=(0, 0)):
        """A point of the gallery's client area, or of a place `within` it, on the screen."""
        return self.origin[0] + within[0] + x, self.origin[1] + within[1] + y

    def click(self, x, y, within=(0, 0)):
        self.screen.move_pointer(*self.point(x, y, within))
        self.screen.xdotool("click", 1)

    @staticmethod
    def case_mismatches(picture, at, size, columns, rows):
        """The pixels of a case whose top-left corner is at `at` on the screen that differ
        from what its drawing rules give: (place in the case, seen, expected)."""
        width, height = size
        wrong = []
        for x, colour in columns.items():
            for y in (40, 60, height // 2):
                seen = picture.pixel(at[0] + x, at[1] + y)
                if seen != colour:
                    wrong.append(((x, y), seen, colour))
        for y, colour in rows.items():
            for x in (40, 100, width // 2):
                seen = picture.pixel(at[0] + x, at[1] + y)
                if seen != colour:
                    wrong.append(((x, y), seen, colour))
        return wrong

    def wait_for_case(self, at, size, columns, rows, what, timeout=30):
        last = []

        def painted():
            last[:] = self.case_mismatches(self.screen.capture(), at, size, columns, rows)
            return not last
        try:
            harness.wait_for(painted, timeout, what)
        except AssertionError as e:
            raise AssertionError(f"{e}; differing pixels (place, seen, expected): {last[:6]}") from None

    def shows_frame_there(self, picture, x, y):
        """Whether the gallery's frame shows at a point of the client area: its stripes run
        the whole width, so the point has the colour of the row's pixel at the left edge."""
        return picture.pixel(*self.point(x, y)) == picture.pixel(*self.point(10, y))

    def wait_for_geometry(self, geometry, what, timeout=60):
        harness.wait_for(lambda: self.screen.geometry(self.window) == geometry, timeout,
                         f"{what}: {geometry} (it is {self.screen.geometry(self.window)})")

    def region(self, rect):
        x, y, width, height = rect
        picture = self.screen.capture()
        return [picture.pixel(*self.point(x + i, y + j)) for j in range(height) for i in range(width)]

    def floating_windows(self):
        return [w for w in self.screen.windows_of(self.program.pid) if w != self.window]

    def shot(self, name):
        self.screen.screenshot(os.path.join(harness.OUTPUT_DIR, "screenshots", name))

    # --- the gallery and its frame ------------------------------------------------------

    def test_gallery_starts_centred_in_its_frame_with_both_cases_painted(self):
        self.screen.wait_for_title(self.window, GALLERY_CAPTION)
        x, y, width, height = self.screen.geometry(self.window)
        self.assertEqual((width, height), CLIENT_SIZE)
        self.assertEqual((x, y), ((SCREEN_WIDTH - width) // 2, (SCREEN_HEIGHT - height) // 2))
        self.wait_for_case(self.point(*CASE2), CASE2_SIZE, CASE2_COLUMNS, CASE2_ROWS, "the second case painted")
        picture = self.screen.capture()
        for column in FRAME_BORDER_COLUMNS:
            self.assertEqual(picture.pixel(*self.point(column, 200)), BLACK, f"the frame's border at column {column}")
        for row, colour in {**FRAME_SEPARATOR_ROWS, **FRAME_STRIPE_ROWS}.items():
            self.assertEqual(picture.pixel(*self.point(300 if row < 40 else 10, row)), colour, f"the frame at row {row}")
        # Just outside the first case the frame shows.
        case_x, case_y = CASE1
        for x, y in ((case_x - 1, case_y + 60), (case_x + CASE1_SIZE[0], case_y + 60)):
            self.assertTrue(self.shows_frame_there(picture, x, y), f"the frame at ({x}, {y})")
        self.shot("gallery.png")

    def resize_by_the_corner_to_500_by_300(self):
        left, top = self.origin
        self.screen.press(*self.point(CLIENT_SIZE[0] - 3, CLIENT_SIZE[1] - 3))
        self.screen.move_pointer(*self.point(560, 340))
        self.screen.move_pointer(*self.point(500, 300))

        def outline_shown():
            # The focus rectangle's bottom row, 500 x 300 from the window's corner: dotted black and white.
            picture = self.screen.capture()
            row = [picture.pixel(left + x, top + 299) for x in range(100, 140)]
            return set(row) == {BLACK, WHITE} and all(a != b for a, b in zip(row, row[1:]))
        harness.wait_for(outline_shown, 30, "the dotted outline of the new size")
        # Only the outline moves while the button is held.
        self.assertEqual(self.screen.geometry(self.window), (left, top, *CLIENT_SIZE))
        self.screen.release()
        self.wait_for_geometry((left, top, 500, 300), "the new size, top-left corner kept")
        harness.wait_for(lambda: not outline_shown(), 30, "the outline gone")
        # The frame covers the window again, its border box ending at 500 x 15 - 25 and
        # 300 x 15 - 25 twips: column 498 (498.3) and row 298 (298.3).
        harness.wait_for(lambda: self.screen.pixel(*self.point(498, 290)) == BLACK
                         and self.screen.pixel(*self.point(100, 298)) == BLACK, 30, "the border at the new size")

    def test_frame_corner_resizes_the_gallery_through_an_outline(self):
        self.resize_by_the_corner_to_500_by_300()

    def test_after_a_drag_the_glyphs_and_the_corner_take_the_pointer_again(self):
        # The move loop swallows the release; the frame must not keep the pointer for its title strip.
        left, top = self.origin
        start = self.point(*gallery.ON_TITLE_STRIP)
        self.screen.drag(start, (start[0] + 40, start[1] + 30))
        self.wait_for_geometry((left + 40, top + 30, *CLIENT_SIZE), "dragged 40 right and 30 down")
        self.origin = (left + 40, top + 30)
        plain = self.region(FRAME_ROLL_GLYPH)
        self.screen.move_pointer(*self.point(*FRAME_ROLL_GLYPH_POINTS[0]))
        harness.wait_for(lambda: self.region(FRAME_ROLL_GLYPH) != plain, 30, "the hovered glyph bold")
        self.screen.move_pointer(*self.point(*gallery.ON_TITLE_STRIP))
        harness.wait_for(lambda: self.region(FRAME_ROLL_GLYPH) == plain, 30, "the glyph regular again")
        self.resize_by_the_corner_to_500_by_300()

    def test_frame_corner_keeps_the_gallery_at_least_200_by_180(self):
        left, top = self.origin
        self.screen.press(*self.point(CLIENT_SIZE[0] - 3, CLIENT_SIZE[1] - 3))
        self.screen.move_pointer(*self.point(300, 200))
        self.screen.move_pointer(*self.point(50, 30))
        self.screen.release()
        self.wait_for_geometry((left, top, 200, 180), "the smallest size")

    def test_frame_roll_glyph_rolls_the_gallery_up_and_down(self):
        left, top = self.origin
        unrolled_glyph = self.region(FRAME_ROLL_GLYPH)
        self.click(*FRAME_ROLL_GLYPH_POINTS[0])
        # Moving over the title strip takes the hover's bold off the glyph, also during the roll.
        self.screen.move_pointer(*self.point(*gallery.ON_TITLE_STRIP))
        self.wait_for_geometry((left, top, CLIENT_SIZE[0], FRAME_ROLLED_HEIGHT), "rolled up")
        # The glyph changes once the roll has ended.
        harness.wait_for(lambda: self.region(FRAME_ROLL_GLYPH) != unrolled_glyph, 30, "the roll-down glyph")
        self.click(*FRAME_ROLL_GLYPH_POINTS[1])
        self.screen.move_pointer(*self.point(*gallery.ON_TITLE_STRIP))
        self.wait_for_geometry((left, top, *CLIENT_SIZE), "rolled down")
        harness.wait_for(lambda: self.region(FRAME_ROLL_GLYPH) == unrolled_glyph, 30, "the roll-up glyph again")

    def test_frame_double_click_maximises_and_restores_the_gallery(self):
        before = self.screen.geometry(self.window)
        self.screen.double_click(*self.point(*gallery.ON_TITLE_STRIP))
        # No task bar under a bare X server: the whole screen height, and 5 pixels more than its width.
        self.wait_for_geometry((0, 0, SCREEN_WIDTH + 5, SCREEN_HEIGHT), "maximised")
        self.origin = (0, 0)
        # The frame covers it, repainted at its new size: the separator row and the stripes
        # reach beyond where the window used to end.
        harness.wait_for(lambda: all(self.screen.pixel(1000, row) == colour for row, colour in
                                     {**FRAME_SEPARATOR_ROWS, **FRAME_STRIPE_ROWS}.items()),
                         30, "the frame repainted at the screen's size")
        self.screen.double_click(*self.point(*gallery.ON_TITLE_STRIP))
        self.wait_for_geometry(before, "restored exactly")

    # --- the first case: dragging, resizing, rolling ----------------------------------------

    def test_dragging_a_case_by_its_title_strip_moves_it_within_the_gallery(self):
        start = self.point(*CASE1_ON_TITLE, within=CASE1)
        self.screen.drag(start, (start[0] + 40, start[1] + 30))
        moved = (CASE1[0] + 40, CASE1[1] + 30)
        self.wait_for_case(self.point(*moved), CASE1_SIZE, CASE1_COLUMNS, CASE1_ROWS, "the case at its new place")
        picture = self.screen.capture()
        self.assertTrue(self.shows_frame_there(picture, CASE1[0], CASE1[1] + 20), "the frame where the case was")
        # Still a child of the gallery: no window of its own.
        self.assertEqual(self.floating_windows(), [])

    def resize_case_by_its_grip_to_300_by_200(self, at):
        """Resizes the first case, standing at `at` in the gallery, by its grip."""
        self.screen.move_pointer(*self.point(CASE1_IN_GRIP[0] - 1, CASE1_IN_GRIP[1] - 1, within=at))
        self.screen.press(*self.point(*CASE1_IN_GRIP, within=at))
        self.screen.move_pointer(*self.point(260, 180, within=at))
        self.screen.move_pointer(*self.point(300, 200, within=at))
        self.screen.release()
        # The corner follows the pointer: 4500 x 3000 twips. The boxes' right and bottom edges:
        # frame grey at 4490 / 15 = 299.3 -> 299 and 2990 / 15 = 199.3 -> 199, black at 298 and 198.
        columns = {0: FRAME_GREY, 1: BLACK, 298: BLACK, 299: FRAME_GREY}
        rows = {0: FRAME_GREY, 1: BLACK, 198: BLACK, 199: FRAME_GREY}
        self.wait_for_case(self.point(*at), (300, 200), columns, rows, "the case at 300 x 200")
        picture = self.screen.capture()
        self.assertTrue(self.shows_frame_there(picture, at[0] + 300, at[1] + 100), "the frame right of the case")
        self.assertTrue(self.shows_frame_there(picture, at[0] + 100, at[1] + 200), "the frame below the case")

    def test_case_grip_resizes_the_case(self):
        self.resize_case_by_its_grip_to_300_by_200(CASE1)

    def test_case_grip_resizes_the_case_at_once_after_a_drag(self):
        # Straight down, so that at 300 x 200 it lies clear of the second case (from 330 right) and
        # of the frame's left edge, which shows_frame_there compares with.
        start = self.point(*CASE1_ON_TITLE, within=CASE1)
        self.screen.drag(start, (start[0], start[1] + 60))
        moved = (CASE1[0], CASE1[1] + 60)
        self.wait_for_case(self.point(*moved), CASE1_SIZE, CASE1_COLUMNS, CASE1_ROWS, "the case at its new place")
        self.resize_case_by_its_grip_to_300_by_200(moved)

    def test_case_roll_glyph_rolls_the_case_up_and_down(self):
        x, y = CASE1
        self.click(*CASE1_ROLL_GLYPH_POINTS[0], within=CASE1)

        def rolled_up():
            picture = self.screen.capture()
            return (picture.pixel(*self.point(1, CASE1_ROLLED_HEIGHT - 1, within=CASE1)) == CASE1_ROLLED_CORNER
                    and picture.pixel(*self.point(100, CASE1_ROLLED_HEIGHT - 1, within=CASE1)) == LIGHT_GREY
                    and self.shows_frame_there(picture, x + 100, y + CASE1_ROLLED_HEIGHT))
        harness.wait_for(rolled_up, 60, "the case rolled up to 36 pixels and repainted")
        self.click(*CASE1_ROLL_GLYPH_POINTS[1], within=CASE1)
        self.wait_for_case(self.point(*CASE1), CASE1_SIZE, CASE1_COLUMNS, CASE1_ROWS, "the case rolled down", timeout=60)
        self.assertTrue(self.shows_frame_there(self.screen.capture(), x + 100, y + CASE1_SIZE[1]), "the frame below")

    # --- the second case: out over the gallery and back -----------------------------------------

    def pop_out(self):
        """Pops the second case out; returns its window and where it should stand."""
        gallery_left, gallery_top, gallery_width, gallery_height = self.screen.geometry(self.window)
        self.click(*harness.centre(POP_OUT_BUTTON))
        floating = harness.wait_for(lambda: next(iter(self.floating_windows()), None), 30, "the floating panel")
        self.assertEqual(self.screen.title(floating), PANEL_CAPTION)
        # Centred over the gallery: half the gallery's size less half the case's (4200 / 30 = 140,
        # 2700 / 30 = 90 pixels) from its top-left corner.
        expected = (round(gallery_width / 2 - 4200 / 30 + gallery_left),
                    round(gallery_height / 2 - 2700 / 30 + gallery_top))
        return floating, expected

    def test_popped_out_case_floats_over_the_disabled_gallery_and_goes_back(self):
        self.screen.wait_for_title(self.window, GALLERY_CAPTION)
        floating, expected = self.pop_out()
        harness.wait_for(lambda: self.screen.geometry(floating) == (*expected, *CASE2_SIZE), 30,
                         f"the panel at {expected} (it is at {self.screen.geometry(floating)})")
        self.assertEqual(self.screen.window_property(floating, "_NET_WM_WINDOW_TYPE"), "_NET_WM_WINDOW_TYPE_UTILITY")
        self.assertIn("_NET_WM_STATE_SKIP_TASKBAR", self.screen.window_property(floating, "_NET_WM_STATE") or "")
        self.wait_for_case(expected, CASE2_SIZE, CASE2_COLUMNS, CASE2_ROWS, "the floating panel painted")
        # Its place in the gallery is empty: there the frame shows (right of where the panel floats).
        picture = self.screen.capture()
        self.assertTrue(self.shows_frame_there(picture, CASE2[0] + 278, CASE2[1] + 60), "the frame where the panel was")
        self.shot("gallery-popped-out.png")

        # The gallery ignores a click; the panel's own button still works, and puts it back.
        self.click(*harness.centre(GREETING_BUTTON))
        self.click(*harness.centre(PUT_BACK_BUTTON),
                   within=(expected[0] - self.origin[0], expected[1] - self.origin[1]))
        harness.wait_for(lambda: self.floating_windows() == [], 30, "the panel's window to go")
        self.wait_for_case(self.point(*CASE2), CASE2_SIZE, CASE2_COLUMNS, CASE2_ROWS, "the panel back in its place")
        # The greeting's click came before the put-back's: it would have shown by now.
        self.assertEqual(self.screen.title(self.window), GALLERY_CAPTION)
        self.click(*harness.centre(GREETING_BUTTON))
        self.screen.wait_for_title(self.window, GREETING_CAPTION)

    def test_close_glyph_of_the_floating_panel_puts_it_back(self):
        floating, expected = self.pop_out()
        self.wait_for_case(expected, CASE2_SIZE, CASE2_COLUMNS, CASE2_ROWS, "the floating panel painted")
        self.click(*CASE2_CLOSE_GLYPH, within=(expected[0] - self.origin[0], expected[1] - self.origin[1]))
        harness.wait_for(lambda: self.floating_windows() == [], 30, "the panel's window to go")
        self.wait_for_case(self.point(*CASE2), CASE2_SIZE, CASE2_COLUMNS, CASE2_ROWS, "the panel back in its place")
        self.click(*harness.centre(GREETING_BUTTON))
        self.screen.wait_for_title(self.window, GREETING_CAPTION)


if __name__ == "__main__":
    harness.main()
