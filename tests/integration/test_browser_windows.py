"""Windows that pages open. window.open at a click gives a small window of the
program, titled with the host of the page or frame that opened it, whose page
has its opener, talks to it with postMessage, may move it within its site but
not to another, and goes when the page calls window.close(); at most eight
are open at once, and further ones, or any without a click, are refused with
one notice that counts them. A link with target="_blank" that the player
clicks loads in the main browser instead; one clicked in a frame of another
site opens a window, one to a data: or file: address nothing."""

import urllib.parse

import desktop
import harness
import pages
from pages import PageServer, Response

OPENER_COLOUR = (90, 40, 140)
MOVED_COLOUR = (200, 90, 30)
LOOK_ALIKE_COLOUR = (30, 60, 200)
POPUP_COLOUR = (240, 200, 40)
BLANK_TARGET_COLOUR = (20, 150, 130)
# The main window's browser, in client pixels (its twips over 15, rounded).
BROWSER = (1, 88, 1049, 609)
# In the main window's browser, clear of a pop-up of the default size (640x480) centred on it.
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
# Clicked, it goes to a page of another site.
POPUP_PAGE = pages.coloured_page("弹出的游戏窗口", POPUP_COLOUR, """<script>
fetch('/popup-has-opener?' + (window.opener !== null));
window.addEventListener('message', e => { if (e.data === 'please-close') window.close(); });
document.addEventListener('click', () => { location = '/elsewhere'; });
window.opener.postMessage('hello-from-popup', '*');
</script>""")
# That page, which sends no referrer, sends the main window to a look-alike page of its own site and,
# asked to close, to a page of the game's site, whence it came, as a top-up window may.
ELSEWHERE_PAGE = pages.coloured_page("elsewhere", POPUP_COLOUR, """<meta name='referrer' content='no-referrer'><script>
window.opener.location = '/look-alike';
window.addEventListener('message', e => {
  if (e.data === 'please-close') { window.opener.location = new URL('/moved', document.referrer); window.close(); }
});
</script>""")
MANY_PAGE = pages.coloured_page("many", OPENER_COLOUR, """<script>
document.addEventListener('click', () => {
  const opened = [];
  // One asks to cover the screen from its corner.
  opened.push(window.open('/quiet', 'huge', 'width=5000,height=5000,left=0,top=0'));
  for (let i = 1; i < 9; i++) opened.push(window.open('/quiet', 'w' + i, 'width=200,height=150'));
  fetch('/opened?count=' + opened.filter(w => w !== null).length);
});
</script>""")
LINKS_PAGE = pages.coloured_page("links", OPENER_COLOUR,
                                 "<a href='/blank-target' target='_blank' "
                                 "style='display:block; width:100%; height:100%'>open</a>")
# A frame of another site opens three windows as it loads.
UNASKED_PAGE = pages.coloured_page("unasked", OPENER_COLOUR, """<script>
for (let i = 0; i < 3; i++) window.open('/blank-target', 'u' + i, 'width=200,height=150');
fetch('/unasked-opened');
</script>""")
# Were it shown, it would say so.
LOOK_ALIKE_PAGE = pages.coloured_page("星澜游戏中心 登录", LOOK_ALIKE_COLOUR, "<script>fetch('/look-alike-shown');</script>")
# How long a page of the loopback server takes at most to show, on a busy machine.
SHOWN_WITHIN = 3
# 30 windows at once, then 30 more a second later: 52 refused, told once on stderr.
BURSTS_PAGE = pages.coloured_page("bursts", OPENER_COLOUR, """<script>
function burst() { for (let i = 0; i < 30; i++) window.open('/quiet', 'b' + Math.random(), 'width=200,height=150'); }
document.addEventListener('click', () => { burst(); setTimeout(() => { burst(); fetch('/bursts-done'); }, 1000); });
</script>""")
SCRIPTED_LINK_PAGE = pages.coloured_page("scripted", OPENER_COLOUR, """
<a id='link' href='/blank-target' target='_blank'>open</a>
<script>setTimeout(() => { document.getElementById('link').click(); fetch('/clicked'); }, 300);</script>""")
LOCAL_LINKS_PAGE = pages.coloured_page("local links", OPENER_COLOUR,
                                       "<a href='data:text/html,<title>made up</title>' target='_blank' "
                                       "style='display:block; width:100%; height:50%'>data</a>"
                                       "<a href='file:///etc/passwd' target='_blank' "
                                       "style='display:block; width:100%; height:50%'>file</a>"
                                       "<script>document.addEventListener('click', () => fetch('/clicked'));</script>")


def framing_page(frame_url):
    """A page filled by a frame of another site."""
    return pages.coloured_page("framing", OPENER_COLOUR,
                               f"<iframe src='{frame_url}' style='border:0; width:100%; height:100%'></iframe>")


class NewWindowTest(harness.ProgramTestCase):

    def setUp(self):
        # The advert's site, on a host of its own: another site.
        self.advert = PageServer({
            "/advert": Response(LINKS_PAGE),
            "/unasked": Response(UNASKED_PAGE),
            "/blank-target": Response(pages.coloured_page("advert target", BLANK_TARGET_COLOUR)),
            "/elsewhere": Response(ELSEWHERE_PAGE),
            "/look-alike": Response(LOOK_ALIKE_PAGE),
        }, host="127.0.0.2").__enter__()
        self.addCleanup(self.advert.__exit__, None, None, None)
        self.site = PageServer({
            "/framing": Response(framing_page(self.advert.url("/advert"))),
            "/framing-unasked": Response(framing_page(self.advert.url("/unasked"))),
            "/moved": Response(pages.coloured_page("moved", MOVED_COLOUR)),
            **{path: Response("", status=302, headers=[("Location", self.advert.url(to))])
               for path, to in (("/elsewhere", "/elsewhere"), ("/to-another-site", "/look-alike"))},
            "/bursts": Response(BURSTS_PAGE),
            "/local-links": Response(LOCAL_LINKS_PAGE),
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

    def opener_title(self, title, site=None):
        site = site or self.site
        return f"{title} — 来自 {urllib.parse.urlsplit(site.url('/')).netloc}"

    def test_popup_has_its_opener_talks_to_it_and_closes_itself(self):
        self.open_page("/opener")
        self.click_client(*pages.IN_BROWSER)
        self.site.wait_for_path("/popup-has-opener?true")
        self.site.wait_for_path("/opener-got?data=hello-from-popup")
        popups = harness.wait_for(self.other_windows, 30, "the pop-up window")
        harness.wait_for(lambda: list(self.other_windows().values()) == [self.opener_title("弹出的游戏窗口")], 20,
                         f"the pop-up's title with its opener's host (it is {list(self.other_windows().values())})")
        popup = next(iter(popups))
        harness.wait_for(lambda: self.screen.geometry(popup)[2:] == (320, 240), 20,
                         "the pop-up to take the size the page asked for")
        x, y, _, _ = self.screen.geometry(popup)
        self.screen.wait_for_pixel(x + 160, y + 120, lambda p: p == POPUP_COLOUR, timeout=30,
                                   what="the pop-up's page")

        # Gone to another site, the pop-up sends the main window to it: asked for, never shown.
        self.screen.click(x + 160, y + 120)
        self.advert.wait_for_path("/look-alike")
        with self.assertRaises(AssertionError, msg="the look-alike page shown in the main window"):
            self.advert.wait_for_path("/look-alike-shown", timeout=SHOWN_WITHIN)
        pages.browser_colour_is(self, OPENER_COLOUR, "the opener still in the main browser", point=BESIDE_THE_POPUP)
        # The pop-up stands over the middle of the main window.
        self.click_client(*BESIDE_THE_POPUP)
        harness.wait_for(lambda: not self.other_windows(), 30, "the pop-up to close itself")
        pages.browser_colour_is(self, MOVED_COLOUR, "the page of the same site the pop-up sent its opener to")
        self.assert_alive()

    def test_ninth_window_is_refused_with_a_notice(self):
        self.open_page("/many")
        self.click_client(*pages.IN_BROWSER)
        path, _ = self.site.wait_for_request(lambda p, _: p.startswith("/opened"), 30, "the count of opened windows")
        self.assertEqual(urllib.parse.parse_qs(urllib.parse.urlsplit(path).query)["count"], ["8"])
        notice = harness.wait_for(
            lambda: [t for t in self.other_windows().values() if t == "已阻止弹出窗口"], 30, "the notice")
        self.assertEqual(len(notice), 1)
        harness.wait_for(lambda: list(self.other_windows().values()).count(self.opener_title("quiet")) == 8, 30,
                         "eight pop-ups shown")
        # Each lies over the browser, never over the title strip and the controls.
        left, top = self.client_point(*BROWSER[:2])
        for popup, title in self.other_windows().items():
            if title != "已阻止弹出窗口":
                x, y, width, height = self.screen.geometry(popup)
                self.assertTrue(left <= x and top <= y and x + width <= left + BROWSER[2] and
                                y + height <= top + BROWSER[3], (x, y, width, height))
        self.assertEqual(self.refusal_lines(), ["ludex: 已阻止弹出窗口: 此网页已有 1 个弹出窗口被阻止（只在点击后打开，同时最多打开 8 个，不打开本地文件或 data: 地址）。"])
        # With the pop-ups open, the player's own load still goes to another site, through a redirect.
        pages.load_in_browser(self, self.site.url("/to-another-site"))
        self.advert.wait_for_path("/look-alike-shown")
        self.assert_alive()

    def refusal_lines(self):
        return [line for line in self.program.log().splitlines() if "已阻止弹出窗口" in line]

    def test_refused_popups_are_told_once_with_their_count(self):
        self.open_page("/bursts")
        self.click_client(*pages.IN_BROWSER)
        self.site.wait_for_path("/bursts-done")
        harness.wait_for(lambda: list(self.other_windows().values()).count(self.opener_title("quiet")) == 8, 30,
                         "eight pop-ups shown")
        # The first burst's 22 refusals are told together; the second burst's 30 within 5 s add no line.
        harness.wait_for(self.refusal_lines, 10, "the notice of refused pop-ups on stderr")
        self.assertEqual(len(self.refusal_lines()), 1, self.refusal_lines())
        self.assertIn("已有 22 个", self.refusal_lines()[0])
        notices = [t for t in self.other_windows().values() if t == "已阻止弹出窗口"]
        self.assertEqual(len(notices), 1)

    def test_blank_target_link_loads_in_the_main_browser(self):
        self.open_page("/links")
        self.click_client(*pages.IN_BROWSER)
        self.site.wait_for_path("/blank-target")
        pages.browser_colour_is(self, BLANK_TARGET_COLOUR, "the link's page in the main browser")
        self.assertEqual(self.other_windows(), {})

    def test_windows_a_frame_opens_without_a_click_are_refused_with_one_notice(self):
        pages.load_in_browser(self, self.site.url("/framing-unasked"))
        self.advert.wait_for_path("/unasked-opened")
        harness.wait_for(self.refusal_lines, 10, "the notice of refused pop-ups")
        self.assertEqual(len(self.refusal_lines()), 1, self.refusal_lines())
        self.assertIn("已有 3 个", self.refusal_lines()[0])
        self.assertEqual([t for t in self.other_windows().values() if t != "已阻止弹出窗口"], [])
        self.assertNotIn("/blank-target", self.advert.paths())

    def test_a_blank_link_clicked_in_a_frame_of_another_site_opens_a_window_named_by_the_frame(self):
        pages.load_in_browser(self, self.site.url("/framing"))
        self.advert.wait_for_path("/advert")
        pages.browser_colour_is(self, OPENER_COLOUR, "the advert's frame")
        self.click_client(*pages.IN_BROWSER)
        self.advert.wait_for_path("/blank-target")
        # Named by the frame's site, not the page's.
        title = self.opener_title("advert target", self.advert)
        harness.wait_for(lambda: list(self.other_windows().values()) == [title], 30,
                         f"the link in a pop-up (windows: {self.other_windows()})")
        pages.browser_colour_is(self, OPENER_COLOUR, "the framing page still in the main browser",
                                point=BESIDE_THE_POPUP)

    def test_blank_links_to_data_and_file_addresses_open_nothing(self):
        self.open_page("/local-links")
        self.click_client(500, 200)
        self.site.wait_for_path("/clicked")
        self.click_client(500, 500)
        harness.wait_for(lambda: len(self.refusal_lines()) == 1, 10, "the notice of refused pop-ups")
        self.assertIn("已有 1 个", self.refusal_lines()[0])
        self.assertEqual([t for t in self.other_windows().values() if t != "已阻止弹出窗口"], [])
        pages.browser_colour_is(self, OPENER_COLOUR, "the page still in the main browser")


class PopupFocusTest(harness.ProgramTestCase):
    """Under a window manager, which gives new windows the keyboard."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        desktop.run_openbox_for(cls)

    def setUp(self):
        self.site = PageServer({
            "/scripted": Response(SCRIPTED_LINK_PAGE),
            "/blank-target": Response(pages.coloured_page("blank target", BLANK_TARGET_COLOUR)),
        }).__enter__()
        self.addCleanup(self.site.__exit__, None, None, None)
        super().setUp()

    def test_a_popup_the_player_did_not_ask_for_opens_not_and_leaves_the_keyboard_to_the_main_window(self):
        pages.load_in_browser(self, self.site.url("/scripted"))
        self.site.wait_for_path("/clicked")
        notice = harness.wait_for(
            lambda: next((w for w in self.screen.windows_of(self.program.pid) if w != self.window), None), 30,
            "the notice of the refused pop-up")
        self.assertEqual(self.screen.title(notice), "已阻止弹出窗口")
        self.assertNotIn("/blank-target", self.site.paths())
        self.assertEqual(int(self.screen.xdotool("getactivewindow")), self.window)
        # Typing goes on in the address box.
        self.screen.type("abc")
        self.assertEqual(int(self.screen.xdotool("getactivewindow")), self.window)


if __name__ == "__main__":
    harness.main()
