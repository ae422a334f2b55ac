"""What a screen reader sees of the main window through AT-SPI: the game
buttons as buttons named by their captions, the frame's glyphs as buttons
named by what they do, the labels that open pages as links, each where it
shows on the screen, with a click action that does what a click does."""

import os

import harness
import assistive
from harness import NEWS_PORT

# The glyphs' places in the client area: the frame's title strip, on its right.
GAME_BUTTONS = ["傲视天地", "小小忍者", "天地英雄", "武林英雄", "商业大亨", "热血三国", "武林三国", "天策", "英雄远征",
                "洪荒神话"]
# JyxButton1 is at (240, 600) twips, 1215 x 375: (16, 40), 81 x 25 pixels.
BUTTON1 = (16, 40, 81, 25)


class AccessibilityTest(harness.ProgramTestCase):

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.bus = assistive.SessionBus(os.path.join(cls.logs, f"{cls.__name__}-dbus.log")).__enter__()
        cls.addClassCleanup(cls.bus.__exit__, None, None, None)

    def program_environment(self):
        return {**super().program_environment(), **self.bus.environment()}

    def reader_environment(self):
        return self.display.environment(self.bus.environment())

    def objects(self):
        return assistive.accessible_objects(self.reader_environment(), self.program.pid)

    def wait_for_objects(self, condition, what):
        seen = []

        def check():
            seen[:] = self.objects()
            return condition(seen)
        try:
            harness.wait_for(check, 60, what)
        except AssertionError as e:
            raise AssertionError(f"{e}; seen: {[(o['role'], o['name']) for o in seen]}") from None
        return seen

    @staticmethod
    def named(objects, role, name):
        return [o for o in objects if o["role"] == role and o["name"] == name]

    def test_buttons_glyphs_and_links_have_names_and_roles(self):
        self.screen.wait_for_title(self.window, "星澜网页游戏中心")
        objects = self.wait_for_objects(lambda objects: self.named(objects, "push button", "关闭"),
                                        "the frame's close glyph")
        for caption in GAME_BUTTONS:
            self.assertEqual(len(self.named(objects, "push button", caption)), 1, caption)
        for glyph in ("最小化", "关闭"):
            self.assertEqual(len(self.named(objects, "push button", glyph)), 1, glyph)
        # The main window's frame has no roll glyph (its ReButton setting is False).
        self.assertEqual(self.named(objects, "push button", "收起"), [])
        for link in ("看新闻", "网址导航", "星澜游戏中心"):
            self.assertEqual(len(self.named(objects, "link", link)), 1, link)
        for text in ("地址:", "如果您已有游戏账号,请您选择游戏账户直接登录."):
            self.assertEqual(len(self.named(objects, "label", text)), 1, text)
        # Read as one button: the caption is no object of its own.
        self.assertEqual([o for o in objects if o["name"] == "傲视天地" and o["role"] == "label"], [])

        button = self.named(objects, "push button", "傲视天地")[0]
        x, y, width, height = BUTTON1
        self.assertEqual(button["extents"], [self.origin[0] + x, self.origin[1] + y, width, height])
        self.assertEqual(button["actions"], ["click"])
        close = self.named(objects, "push button", "关闭")[0]
        # Right of every game button, on the title strip.
        self.assertGreater(close["extents"][0], self.origin[0] + 1000)
        self.assertLess(close["extents"][1], self.origin[1] + 33)

    def test_link_click_action_opens_its_page(self):
        self.screen.wait_for_title(self.window, "星澜网页游戏中心")
        self.wait_for_objects(lambda objects: self.named(objects, "link", "看新闻"), "the news link")
        assistive.click(self.reader_environment(), self.program.pid, "看新闻")
        self.web.wait_for_path("/", port=NEWS_PORT)
        self.screen.wait_for_title(self.window, "星澜游戏中心-浏览新闻中")


if __name__ == "__main__":
    harness.main()
