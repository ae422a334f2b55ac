"""The address box under what a player may type or paste into it: ten
thousand characters, control characters, spaces around an address, bytes
that are no UTF-8, "javascript:" and "file:" addresses. Enter never ends the program; the
browser loads what was typed or shows the Chinese error page; the caption
becomes the browsing one for any text, and stays for an empty box."""

import os
import shutil
import subprocess
import tempfile

import harness
import pages
from harness import NEWS_PORT, PAGE_COLOURS, REDIRECT_PORT
from pages import PageServer, Response

APP_TITLE = "星澜网页游戏中心"
BROWSING_TITLE = "星澜网页游戏-浏览网页中"
NEWS_TITLE = "星澜游戏中心-浏览新闻中"
START_PATH = "/pre.php?r=3141_13_0"
ERROR_PAGE_BACKGROUND = (247, 247, 247)
LOCAL_COLOUR = (230, 120, 10)
SCRIPT_TARGET_COLOUR = (70, 70, 200)


class Selection:
    """xclip holding `data` as the X selection `name` (clipboard or primary)
    for as long as the `with` lasts."""

    def __init__(self, display, name, data, target="UTF8_STRING"):
        self._env = display.environment()
        self._name = name
        self._data = data
        self._target = target
        self._process = None

    def __enter__(self):
        # -quiet keeps xclip in the foreground, so that it is ours to stop.
        self._process = subprocess.Popen(["xclip", "-quiet", "-selection", self._name, "-target", self._target],
                                         env=self._env, stdin=subprocess.PIPE, stdout=subprocess.DEVNULL,
                                         stderr=subprocess.DEVNULL, start_new_session=True)
        self._process.stdin.write(self._data)
        self._process.stdin.close()
        harness.wait_for(self._held, 20, f"xclip to hold the {self._name} selection")
        return self

    def _held(self):
        result = subprocess.run(["xclip", "-o", "-selection", self._name, "-target", self._target], env=self._env,
                                capture_output=True, timeout=10)
        return result.returncode == 0 and result.stdout == self._data

    def __exit__(self, *exc):
        harness.stop_process(self._process)


class TitleSpy:
    """Every title the window takes, as xprop -spy reports them, for as long as the `with` lasts."""

    def __init__(self, display, window, log_path):
        self._args = (display, window, log_path)
        self._process = None

    def __enter__(self):
        display, window, log_path = self._args
        self._log_path = log_path
        with open(log_path, "wb") as log:
            self._process = subprocess.Popen(["xprop", "-spy", "-id", str(window), "_NET_WM_NAME"],
                                             env=display.environment(), stdout=log, stderr=subprocess.STDOUT,
                                             start_new_session=True)
        # The first line is the title as it stands.
        harness.wait_for(self.seen, 20, "xprop to report the title")
        return self

    def seen(self):
        with open(self._log_path, encoding="utf-8", errors="replace") as f:
            return [line.split(" = ", 1)[1].strip().strip('"') for line in f if " = " in line]

    def __exit__(self, *exc):
        harness.stop_process(self._process)


class AddressBoxTest(harness.ProgramTestCase):

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.site = PageServer({
            "/script-target": Response(pages.coloured_page("script target", SCRIPT_TARGET_COLOUR)),
        }).__enter__()
        cls.addClassCleanup(cls.site.__exit__, None, None, None)
        local = tempfile.mkdtemp(prefix="ludex-local-")
        cls.addClassCleanup(shutil.rmtree, local, ignore_errors=True)
        cls.local_page = os.path.join(local, "local.html")
        with open(cls.local_page, "w", encoding="utf-8") as f:
            f.write(pages.coloured_page("local", LOCAL_COLOUR))

    def setUp(self):
        super().setUp()
        self.site.clear_requests()
        self.web.wait_for_path(START_PATH, port=REDIRECT_PORT)
        pages.browser_colour_is(self, harness.PAGE_COLOURS[REDIRECT_PORT], "the start page")
        self.screen.wait_for_title(self.window, APP_TITLE)

    def focus_text1(self):
        x, y, width, height = pages.TEXT1
        self.click_client(x + width // 2, y + height // 2)

    def paste(self, data, target="UTF8_STRING"):
        """Replaces the box's text with `data` pasted from the clipboard, and presses Enter."""
        with Selection(self.display, "clipboard", data, target):
            self.focus_text1()
            self.screen.key("ctrl+a", "ctrl+v")
            self.screen.key("Return")

    def assert_error_page(self):
        pages.browser_colour_is(self, ERROR_PAGE_BACKGROUND, "the Chinese error page")
        self.screen.wait_for_title(self.window, BROWSING_TITLE)
        self.assert_alive()

    def requests_beyond_the_start(self):
        return [path for _, path in self.web.requests() if path not in (START_PATH, "/favicon.ico")]

    def test_ten_thousand_pasted_characters_are_loaded_whole(self):
        path = "/long?" + "a" * 10000
        self.paste(f"127.0.0.1:{NEWS_PORT}{path}".encode())
        self.web.wait_for_path(path, port=NEWS_PORT)
        self.screen.wait_for_title(self.window, BROWSING_TITLE)
        pages.browser_colour_is(self, harness.PAGE_COLOURS[NEWS_PORT], "the long address's page")
        self.assert_alive()

    def test_whitespace_around_a_pasted_address_is_left_out(self):
        self.paste(f"\t  127.0.0.1:{NEWS_PORT}/pasted-with-spaces   ".encode())
        self.web.wait_for_path("/pasted-with-spaces", port=NEWS_PORT)
        pages.browser_colour_is(self, harness.PAGE_COLOURS[NEWS_PORT], "the pasted address's page")

    def test_ten_thousand_characters_of_no_address_give_the_error_page(self):
        self.paste(("好" * 10000).encode())
        self.assert_error_page()

    def test_typed_characters_after_a_long_paste_are_kept(self):
        # Real key presses at the end of 10,000 pasted characters.
        with Selection(self.display, "clipboard", f"127.0.0.1:{NEWS_PORT}/typed?{'b' * 10000}".encode()):
            self.focus_text1()
            self.screen.key("ctrl+a", "ctrl+v", "End")
            self.screen.type("&end=1")
            self.screen.key("Return")
        self.web.wait_for_path(f"/typed?{'b' * 10000}&end=1", port=NEWS_PORT)
        self.screen.wait_for_title(self.window, BROWSING_TITLE)

    def test_pasted_control_characters_give_the_error_page(self):
        self.paste(f"127.0.0.1:{NEWS_PORT}/a\tb\nc\x01d\x1b\x7fe".encode())
        self.assert_error_page()
        self.assertEqual(self.requests_beyond_the_start(), [])

    def test_pasted_bytes_that_are_no_utf8_are_not_pasted(self):
        # The browser, first in the tab order, starts with the keyboard: the box's own text is not
        # drawn selected. Of the box's colours, only the selection's has more blue than red.
        x, y, width, height = pages.TEXT1
        picture = self.screen.capture()
        box = [picture.pixel(*self.client_point(x + i, y + j)) for j in range(height) for i in range(width)]
        self.assertEqual(sum(1 for red, _, blue in box if blue > red), 0, "pixels drawn as a selection")
        # A lone continuation byte, a cut-off sequence, and bytes no UTF-8 text has: the
        # paste gives nothing, and Enter sends the box's own text "请输入网址", no address.
        self.paste(b"127.0.0.1:" + str(NEWS_PORT).encode() + b"/bad\x80\xe4\xb8\xff\xfe")
        self.assert_error_page()
        self.assertEqual(self.requests_beyond_the_start(), [])

    def test_latin1_text_pasted_as_a_plain_string_is_read_as_latin1(self):
        # STRING is Latin-1 by definition: byte 0xE9 is "é".
        self.paste(b"127.0.0.1:" + str(NEWS_PORT).encode() + b"/caf\xe9", target="STRING")
        self.web.wait_for_path("/caf%C3%A9", port=NEWS_PORT)
        self.screen.wait_for_title(self.window, BROWSING_TITLE)

    def test_middle_click_pastes_the_primary_selection(self):
        self.focus_text1()
        self.screen.key("ctrl+a", "BackSpace")
        with Selection(self.display, "primary", f"127.0.0.1:{NEWS_PORT}/primary".encode()):
            x, y, width, height = pages.TEXT1
            self.click_client(x + width // 2, y + height // 2, button=2)
            self.screen.key("Return")
        self.web.wait_for_path("/primary", port=NEWS_PORT)
        self.screen.wait_for_title(self.window, BROWSING_TITLE)

    def test_javascript_address_runs_nothing_and_gives_the_error_page(self):
        pages.load_in_browser(self, self.site.url("/script-target"))
        pages.browser_colour_is(self, SCRIPT_TARGET_COLOUR, "the page the script would run in")
        self.site.clear_requests()
        pages.load_in_browser(self, "javascript:fetch('/script-ran');document.body.style.background='red'")
        self.assert_error_page()
        # The script would have run at once, before the error page came.
        self.assertEqual(self.site.paths(), [])

    def test_typed_local_file_in_the_download_folder_is_loaded(self):
        # The page sandbox lets pages see the download folder alone.
        local_page = os.path.join(self.program_environment()["XDG_DOWNLOAD_DIR"], "local.html")
        shutil.copyfile(self.local_page, local_page)
        pages.load_in_browser(self, "file://" + local_page)
        pages.browser_colour_is(self, LOCAL_COLOUR, "the typed local page")
        self.screen.wait_for_title(self.window, BROWSING_TITLE)

    def test_typed_file_elsewhere_gets_the_error_page(self):
        for address in ("file://" + self.local_page, "file:///etc/passwd"):
            pages.load_in_browser(self, f"127.0.0.1:{REDIRECT_PORT}/between")
            # A page between the two, so that each error page is seen to arrive.
            pages.browser_colour_is(self, PAGE_COLOURS[REDIRECT_PORT], "the page between")
            pages.load_in_browser(self, address)
            self.screen.wait_for_title(self.window, BROWSING_TITLE)
            pages.browser_colour_is(self, ERROR_PAGE_BACKGROUND, f"the error page in place of {address}")
        self.assert_alive()

    def test_enter_in_an_emptied_box_sends_nothing_and_keeps_the_caption(self):
        with TitleSpy(self.display, self.window, os.path.join(self.logs, "empty-box-titles.log")) as titles:
            self.focus_text1()
            self.screen.key("ctrl+a", "BackSpace", "Return")
            # Handled after the Enter: its caption and its request mark that the Enter is done.
            self.click_client(768 + 20, 10 + 8)
            self.web.wait_for_path("/", port=NEWS_PORT)
            self.screen.wait_for_title(self.window, NEWS_TITLE)
            harness.wait_for(lambda: NEWS_TITLE in titles.seen(), 20, "the spy to see the news caption")
        self.assertNotIn(BROWSING_TITLE, titles.seen())
        self.assertEqual(self.requests_beyond_the_start(), ["/"])

if __name__ == "__main__":
    harness.main()
