"""Windows that pages open. window.open gives a small window of the program
whose page has its opener and can talk to it with postMessage, and that
goes when the page calls window.close(); at most eight are open at once,
and the ninth is refused with a notice. A link with target="_blank" loads
in the main browser instead."""

import urllib.parse

import harness
import pages
from pages import PageServer, Response

OPENER_COLOUR = (90, 40, 140)
POPUP_COLOUR = (240, 200, 40)
BLANK_TARGET_COLOUR = (20, 150, 130)
# In the main window's browser, clear of a pop-up centred on the window.
BESIDE_THE_POPUP = (100, 600)

# The first click opens the pop-up; the second asks it to close itself.
OPENER_PAGE = pages.coloured_page("opener", OPENER_COLOUR, """<script>
let popup = null;
document.addEventListener('click', () => {
  if (!popup) popup = window.open('/popup', 'game', 'width=320,height=240');
  else popup.postMessage('please-close', '*');
});
window.addEventListener('message', e => fetch('/opener-got?data=' + encodeURIComponent(e.data)));
</script>""")
POPUP_PAGE = pages.coloured_page("弹出的游戏窗口", POPUP_COLOUR, """<script>
fetch('/popup-has-opener?' + (window.opener !== null));
window.addEventListener('message', e => { if (e.data === 'please-close') window.close(); });
window.opener.postMessage('hello-from-popup', '*');
</script>""")
MANY_PAGE = pages.coloured_page("many", OPENER_COLOUR, """<script>
document.addEventListener('click', () => {
  const opened = [];
  for (let i = 0; i < 9; i++) opened.push(window.open('/quiet', 'w' + i, 'width=200,height=150'));
  fetch('/opened?count=' + opened.filter(w => w !== null).length);
});
</script>""")
LINKS_PAGE = pages.coloured_page("links", OPENER_COLOUR,
                                 "<a href='/blank-target' target='_blank' "
                                 "style='display:block; width:100%; height:100%'>open</a>")


class NewWindowTest(harness.ProgramTestCase):

    def setUp(self):
        self.site = PageServer({
            "/opener": Response(OPENER_PAGE),
            "/popup": Response(POPUP_PAGE),
            "/many": Response(MANY_PAGE),
            "/quiet": Response(pages.coloured_page("quiet", POPUP_COLOUR)),
            "/links": Response(LINKS_PAGE),
            "/blank-target": Response(pages.coloured_page("blank target", BLANK_TARGET_COLOUR)),
        }).__enter__()
        self.addCleanup(self.site.__exit__, None, None, None)
        super().setUp()

    def open_page(self, path):
        pages.load_in_browser(self, self.site.url(path))
        pages.browser_colour_is(self, OPENER_COLOUR, f"the page {path}")

    def other_windows(self):
        """The program's visible windows other than the main one, with their titles."""
        return {w: self.screen.title(w) for w in self.screen.windows_of(self.program.pid) if w != self.window}

    def test_popup_has_its_opener_talks_to_it_and_closes_itself(self):
        self.open_page("/opener")
        self.click_client(*pages.IN_BROWSER)
        self.site.wait_for_path("/popup-has-opener?true")
        self.site.wait_for_path("/opener-got?data=hello-from-popup")
        popups = harness.wait_for(self.other_windows, 30, "the pop-up window")
        self.assertEqual(list(popups.values()), ["弹出的游戏窗口"])
        popup = next(iter(popups))
        harness.wait_for(lambda: self.screen.geometry(popup)[2:] == (320, 240), 20,
                         "the pop-up to take the size the page asked for")
        x, y, _, _ = self.screen.geometry(popup)
        self.screen.wait_for_pixel(x + 160, y + 120, lambda p: p == POPUP_COLOUR, timeout=30,
                                   what="the pop-up's page")

        # The pop-up stands over the middle of the main window.
        self.click_client(*BESIDE_THE_POPUP)
        harness.wait_for(lambda: not self.other_windows(), 30, "the pop-up to close itself")
        pages.browser_colour_is(self, OPENER_COLOUR, "the opener still in the main browser")
        self.assert_alive()

    def test_ninth_window_is_refused_with_a_notice(self):
        self.open_page("/many")
        self.click_client(*pages.IN_BROWSER)
        path, _ = self.site.wait_for_request(lambda p, _: p.startswith("/opened"), 30, "the count of opened windows")
        self.assertEqual(urllib.parse.parse_qs(urllib.parse.urlsplit(path).query)["count"], ["8"])
        notice = harness.wait_for(
            lambda: [t for t in self.other_windows().values() if t == "已阻止弹出窗口"], 30, "the notice")
        self.assertEqual(len(notice), 1)
        harness.wait_for(lambda: list(self.other_windows().values()).count("quiet") == 8, 30, "eight pop-ups shown")
        self.assert_alive()

    def test_blank_target_link_loads_in_the_main_browser(self):
        self.open_page("/links")
        self.click_client(*pages.IN_BROWSER)
        self.site.wait_for_path("/blank-target")
        pages.browser_colour_is(self, BLANK_TARGET_COLOUR, "the link's page in the main browser")
        self.assertEqual(self.other_windows(), {})


if __name__ == "__main__":
    harness.main()
