"""Addresses the browser cannot load: text that is no address, and a host
where nothing listens. The browser shows its error page in place of the
page it had, and so does a pop-up window; the program goes on."""

import harness
import pages
from harness import CLOSED_PORT, PAGE_COLOURS, REDIRECT_PORT
from pages import PageServer, Response

TEXT1 = (384, 8, 329, 18)
IN_BROWSER = (500, 400)
START_PATH = "/pre.php?r=3141_13_0"
BROWSING_TITLE = "星澜网页游戏-浏览网页中"
ERROR_PAGE_TITLE = "无法打开网页"
OPENER_COLOUR = (90, 40, 140)
# A click opens a pop-up at a host where nothing listens.
OPENER_PAGE = pages.coloured_page("opener", OPENER_COLOUR, f"""<script>
document.addEventListener('click', () => window.open('http://127.0.0.1:{CLOSED_PORT}/nothing', 'w',
                                                     'width=400,height=300'));
</script>""")


class BrowserErrorTest(harness.ProgramTestCase):

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.site = PageServer({"/opener": Response(OPENER_PAGE)}).__enter__()
        cls.addClassCleanup(cls.site.__exit__, None, None, None)

    def setUp(self):
        super().setUp()
        self.web.wait_for_path(START_PATH, port=REDIRECT_PORT)
        self.start_colour = PAGE_COLOURS[REDIRECT_PORT]
        self.screen.wait_for_pixel(*self.client_point(*IN_BROWSER), lambda p: p == self.start_colour,
                                   timeout=30, what="the start page in the browser")

    def enter_in_text1(self, typed=None):
        x, y, width, height = TEXT1
        self.click_client(x + width // 2, y + height // 2)
        if typed is not None:
            self.screen.key("ctrl+a")
            self.screen.type(typed)
        self.screen.key("Return")

    def assert_start_page_replaced(self):
        self.screen.wait_for_pixel(*self.client_point(*IN_BROWSER), lambda p: p != self.start_colour,
                                   timeout=30, what="the error page in place of the start page")

    def test_initial_text_is_no_address_and_shows_the_error_page(self):
        self.enter_in_text1()  # "请输入网址", as the window starts with it
        self.screen.wait_for_title(self.window, BROWSING_TITLE)
        self.assert_start_page_replaced()
        self.assert_alive()
        self.assertEqual([path for _, path in self.web.requests() if path != "/favicon.ico"], [START_PATH])

    def test_host_where_nothing_listens_shows_the_error_page(self):
        self.enter_in_text1(f"127.0.0.1:{CLOSED_PORT}/nothing")
        self.screen.wait_for_title(self.window, BROWSING_TITLE)
        self.assert_start_page_replaced()
        self.assert_alive()

    def test_program_goes_on_after_a_failed_load(self):
        self.enter_in_text1(f"127.0.0.1:{CLOSED_PORT}/nothing")
        self.assert_start_page_replaced()
        self.enter_in_text1(f"127.0.0.1:{REDIRECT_PORT}/after")
        self.web.wait_for_path("/after", port=REDIRECT_PORT)
        self.screen.wait_for_pixel(*self.client_point(*IN_BROWSER), lambda p: p == self.start_colour,
                                   timeout=30, what="the page loaded after the failure")
        self.assert_alive()

    def test_popup_at_a_host_where_nothing_listens_shows_the_error_page(self):
        pages.load_in_browser(self, self.site.url("/opener"))
        pages.browser_colour_is(self, OPENER_COLOUR, "the opener page")
        self.click_client(*IN_BROWSER)
        # A pop-up's title is its page's, followed by the host of the page that opened it.
        popup_title = f"{ERROR_PAGE_TITLE} — 来自 127.0.0.1:{self.site.port}"
        harness.wait_for(lambda: [w for w in self.screen.windows_of(self.program.pid)
                                  if self.screen.title(w) == popup_title], 30, "the pop-up's error page")
        self.assert_alive()


if __name__ == "__main__":
    harness.main()
