"""The main window of the real program under X: start-up, a game button, the
address box and a link label, each sending the browser to the loopback web
server and setting the window's title."""

import os

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

START_PATH = "/pre.php?r=3141_13_0"
APP_TITLE = "星澜网页游戏中心"


class MainWindowTest(harness.ProgramTestCase):

    def test_start_up_opens_the_start_page_with_the_application_title(self):
        self.web.wait_for_path(REDIRECT_PORT, START_PATH, timeout=30)
        self.screen.wait_for_title(self.window, APP_TITLE)
        self.screen.wait_for_pixel(*self.client_point(*IN_BROWSER), lambda p: p == PAGE_COLOURS[REDIRECT_PORT],
                                   timeout=30, what="the start page in the browser")
        self.screen.screenshot(os.path.join(harness.OUTPUT_DIR, "screenshots", "main-window.png"))

    def test_window_is_centred_with_the_designed_client_size(self):
        x, y, width, height = self.screen.geometry(self.window)
        self.assertEqual((width, height), (CLIENT_WIDTH, CLIENT_HEIGHT))
        # (1280 - 1052) / 2 = 114; (1024 - 699) / 2 = 162.5, either way of rounding will do.
        self.assertEqual(x, (SCREEN_WIDTH - CLIENT_WIDTH) // 2)
        self.assertIn(y, ((SCREEN_HEIGHT - CLIENT_HEIGHT) // 2, (SCREEN_HEIGHT - CLIENT_HEIGHT + 1) // 2))

    def test_address_box_fills_exactly_its_designed_place(self):
        self.screen.wait_for_title(self.window, APP_TITLE)
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
        self.web.wait_for_path(REDIRECT_PORT, START_PATH, timeout=30)
        self.click_client(*harness.centre(BUTTON3))
        self.web.wait_for_path(REDIRECT_PORT, "/pre.php?r=3141_65_0", timeout=30)
        self.screen.wait_for_title(self.window, "星澜游戏中心-天地英雄游戏中")

    def test_right_button_press_on_a_game_button_navigates_too(self):
        self.web.wait_for_path(REDIRECT_PORT, START_PATH, timeout=30)
        self.click_client(*harness.centre(BUTTON3), button=3)
        self.web.wait_for_path(REDIRECT_PORT, "/pre.php?r=3141_65_0", timeout=30)
        self.screen.wait_for_title(self.window, "星澜游戏中心-天地英雄游戏中")

    def test_double_click_on_a_game_button_opens_its_game_twice(self):
        # The second press of a double-click is a press of its own.
        self.web.wait_for_path(REDIRECT_PORT, START_PATH, timeout=30)
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
        self.web.wait_for_path(REDIRECT_PORT, START_PATH, timeout=30)
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
        self.web.wait_for_path(NEWS_PORT, "/typed", timeout=30)
        self.screen.wait_for_title(self.window, "星澜网页游戏-浏览网页中")
        self.screen.wait_for_pixel(*self.client_point(*IN_BROWSER), lambda p: p == PAGE_COLOURS[NEWS_PORT],
                                   timeout=30, what="the typed page in the browser")

    def test_news_label_opens_the_news_portal(self):
        self.screen.wait_for_title(self.window, APP_TITLE)
        self.click_client(*harness.centre(LABEL4))
        self.web.wait_for_path(NEWS_PORT, "/", timeout=30)
        self.screen.wait_for_title(self.window, "星澜游戏中心-浏览新闻中")
        self.assertNotIn(DIRECTORY_PORT, [port for port, _ in self.web.requests()])


if __name__ == "__main__":
    harness.main()
