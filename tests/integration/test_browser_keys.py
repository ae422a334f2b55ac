"""The browser's keys and mouse buttons, acting on the page that has the
keyboard: Ctrl+plus, Ctrl+minus, Ctrl+0 and Ctrl+wheel zoom; Alt+Left,
Alt+Right and mouse buttons 8 and 9 go back and forward; F5 loads again."""

import urllib.parse

import harness
import pages
from pages import PageServer, Response

FIRST_COLOUR = (180, 30, 30)
SECOND_COLOUR = (30, 30, 180)
# The browser is 1049 pixels wide; the page's width in CSS pixels is that over the zoom.
WIDTH_AT_100 = 1049
# Reports its width whenever it changes.
ZOOM_PAGE = pages.coloured_page("zoom", FIRST_COLOUR, """<script>
let reported = 0;
setInterval(() => { if (innerWidth !== reported) { reported = innerWidth; fetch('/width?w=' + reported); } }, 50);
</script>""")


def widths(level):
    """The page widths a zoom level may give: 1049 / level, cut or rounded."""
    exact = WIDTH_AT_100 / level
    return {int(exact), round(exact)}


class BrowserKeysTest(harness.ProgramTestCase):

    def setUp(self):
        self.site = PageServer({
            "/zoom": Response(ZOOM_PAGE),
            "/width": Response("", "text/plain"),
            "/first": Response(pages.coloured_page("first", FIRST_COLOUR)),
            "/second": Response(pages.coloured_page("second", SECOND_COLOUR)),
        }).__enter__()
        self.addCleanup(self.site.__exit__, None, None, None)
        super().setUp()

    def focus_page(self):
        self.click_client(*pages.IN_BROWSER)

    def reported_widths(self):
        return [int(urllib.parse.parse_qs(urllib.parse.urlsplit(path).query)["w"][0])
                for path in self.site.paths() if path.startswith("/width")]

    def expect_width(self, allowed, what):
        harness.wait_for(lambda: self.reported_widths() and self.reported_widths()[-1] in allowed, 20,
                         f"the page {allowed} wide {what} (reported: {self.reported_widths()})")

    def test_zoom_keys_and_ctrl_wheel(self):
        pages.load_in_browser(self, self.site.url("/zoom"))
        pages.browser_colour_is(self, FIRST_COLOUR, "the page")
        self.focus_page()
        self.expect_width({WIDTH_AT_100}, "at 100 %")
        self.screen.key("ctrl+plus")
        self.expect_width(widths(1.1), "at 110 %")
        self.screen.key("ctrl+plus")
        self.expect_width(widths(1.25), "at 125 %")
        self.screen.key("ctrl+0")
        self.expect_width({WIDTH_AT_100}, "back at 100 %")
        self.screen.key("ctrl+minus")
        self.expect_width(widths(0.9), "at 90 %")
        self.screen.xdotool("keydown", "ctrl", "click", 4, "keyup", "ctrl")
        self.expect_width({WIDTH_AT_100}, "at 100 % after Ctrl+wheel up")
        self.screen.xdotool("keydown", "ctrl", "click", 4, "keyup", "ctrl")
        self.expect_width(widths(1.1), "at 110 % after Ctrl+wheel up")
        self.screen.xdotool("keydown", "ctrl", "click", 5, "keyup", "ctrl")
        self.expect_width({WIDTH_AT_100}, "at 100 % after Ctrl+wheel down")

    def test_keys_in_the_address_box_leave_the_page_alone(self):
        pages.load_in_browser(self, self.site.url("/zoom"))
        pages.browser_colour_is(self, FIRST_COLOUR, "the page")
        self.expect_width({WIDTH_AT_100}, "at 100 %")
        # The address box keeps the keyboard after Return; the Return that
        # follows loads the page a second time, after the keys before it were handled.
        self.screen.key("ctrl+plus", "F5", "Return")
        harness.wait_for(lambda: self.reported_widths().count(WIDTH_AT_100) == 2, 20,
                         "the page loaded again by Return")
        self.assertEqual(self.site.paths().count("/zoom"), 2)
        self.assertEqual(set(self.reported_widths()), {WIDTH_AT_100})

    def test_back_forward_and_reload(self):
        pages.load_in_browser(self, self.site.url("/first"))
        pages.browser_colour_is(self, FIRST_COLOUR, "the first page")
        pages.load_in_browser(self, self.site.url("/second"))
        pages.browser_colour_is(self, SECOND_COLOUR, "the second page")
        self.focus_page()
        self.screen.key("alt+Left")
        pages.browser_colour_is(self, FIRST_COLOUR, "the first page after Alt+Left")
        self.screen.key("alt+Right")
        pages.browser_colour_is(self, SECOND_COLOUR, "the second page after Alt+Right")
        self.click_client(*pages.IN_BROWSER, button=8)
        pages.browser_colour_is(self, FIRST_COLOUR, "the first page after the back button")
        self.click_client(*pages.IN_BROWSER, button=9)
        pages.browser_colour_is(self, SECOND_COLOUR, "the second page after the forward button")
        self.site.clear_requests()
        self.screen.key("F5")
        self.site.wait_for_path("/second")
        pages.browser_colour_is(self, SECOND_COLOUR, "the second page reloaded")
        # None of it touched the main window.
        self.assertEqual(self.screen.title(self.window), "星澜网页游戏-浏览网页中")


if __name__ == "__main__":
    harness.main()
