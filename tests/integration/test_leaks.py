"""The program built with the sanitizers (scripts/sanitize runs this against
it) checks for leaks as it ends. Started, shown with its first page, used a
little (a pop-up window, a script dialog and a download among it) and
closed, by the close glyph or by the window manager, it must leave no memory
that nothing refers to any more. Prints the leak counts."""

import os
import re

import desktop
import harness
import pages
from harness import NEWS_PORT, PAGE_COLOURS, REDIRECT_PORT, wait_for
from pages import PageServer, Response

SUPPRESSIONS = os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, "lsan.supp")
# Suppressions match on the libraries' frames, which only the slow unwinder
# finds (the libraries are built without frame pointers).
SANITIZER_OPTIONS = {
    "ASAN_OPTIONS": "detect_leaks=1:abort_on_error=1:fast_unwind_on_malloc=0:malloc_context_size=30",
    "LSAN_OPTIONS": f"suppressions={os.path.abspath(SUPPRESSIONS)}:print_suppressions=1",
    # Without this GLib serves GObjects from its own slabs, where leaks cannot be seen.
    "G_SLICE": "always-malloc",
}
# Unwinding every allocation makes the sanitized program several times slower.
SLOW_TIMEOUT = 180

START_PATH = "/pre.php?r=3141_13_0"
APP_TITLE = "星澜网页游戏中心"
# Client pixels of the main window.
IN_BROWSER = (500, 400)
ON_CLOSE_GLYPH = (1028, 20)
BUTTON3 = (208, 40, 81, 25)
TEXT1 = (384, 8, 329, 18)
LABEL2 = (968, 72, 73, 17)
ABOUT_CAPTION = "关于"
DIALOG_TITLE = "网页消息"
USE_COLOUR = (90, 40, 140)
# A click opens a pop-up; the page then asks a question and, answered, downloads a file.
USE_PAGE = pages.coloured_page("use", USE_COLOUR, """<script>
document.addEventListener('click', () => {
  window.open('/popup', 'w', 'width=320,height=240');
  setTimeout(() => { alert('存档'); location.href = '/save'; }, 500);
}, {once: true});
</script>""")
SAVE = b"saved game" * 100

SUMMARY = re.compile(r"SUMMARY: AddressSanitizer: (\d+) byte\(s\) leaked in (\d+) allocation\(s\)")
SUPPRESSED = re.compile(r"^\s+(\d+)\s+\d+\s+\S+$", re.MULTILINE)


class LeakTest(harness.ProgramTestCase):
    window_timeout = SLOW_TIMEOUT

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        desktop.run_openbox_for(cls)
        cls.site = PageServer({
            "/use": Response(USE_PAGE),
            "/popup": Response(pages.coloured_page("popup", (240, 200, 40))),
            "/save": Response(SAVE, "application/octet-stream",
                              headers=[("Content-Disposition", 'attachment; filename="save.bin"')]),
        }).__enter__()
        cls.addClassCleanup(cls.site.__exit__, None, None, None)

    def program_environment(self):
        return {**super().program_environment(), **SANITIZER_OPTIONS}

    def setUp(self):
        super().setUp()
        self.web.wait_for_path(START_PATH, timeout=SLOW_TIMEOUT, port=REDIRECT_PORT)
        self.screen.wait_for_title(self.window, APP_TITLE, timeout=SLOW_TIMEOUT)
        self.screen.wait_for_pixel(*self.client_point(*IN_BROWSER), lambda p: p == PAGE_COLOURS[REDIRECT_PORT],
                                   timeout=SLOW_TIMEOUT, what="the start page in the browser")

    def test_closing_by_the_close_glyph_leaks_nothing(self):
        self.click_client(*ON_CLOSE_GLYPH)
        self.assert_ended_without_leaks("close glyph")

    def test_closing_by_the_window_manager_after_some_use_leaks_nothing(self):
        self.click_client(*harness.centre(BUTTON3))
        self.web.wait_for_path("/pre.php?r=3141_65_0", timeout=SLOW_TIMEOUT, port=REDIRECT_PORT)
        self.click_client(*harness.centre(TEXT1))
        self.screen.key("ctrl+a")
        self.screen.type(f"127.0.0.1:{NEWS_PORT}/typed")
        self.screen.key("Return")
        self.web.wait_for_path("/typed", timeout=SLOW_TIMEOUT, port=NEWS_PORT)
        self.use_the_browser_side()
        # An about box closed again, and one left open at the end.
        for _ in range(2):
            self.click_client(*harness.centre(LABEL2))
            box = wait_for(lambda: next(iter(self.about_boxes()), None), SLOW_TIMEOUT, "the about box")
            left, top = desktop.client_geometry(self.display, box)[:2]
            self.screen.click(left + 20, top + 20)
            wait_for(lambda: not self.about_boxes(), SLOW_TIMEOUT, "the about box to close")
        self.click_client(*harness.centre(LABEL2))
        wait_for(self.about_boxes, SLOW_TIMEOUT, "the about box")
        # As for Alt+F4: the window manager asks the main window to close.
        desktop.run(self.display, "wmctrl", "-i", "-c", hex(self.window))
        self.assert_ended_without_leaks("window manager's close")

    def use_the_browser_side(self):
        """A pop-up window left open, a script dialog answered and a download finished."""
        pages.load_in_browser(self, self.site.url("/use"))
        pages.browser_colour_is(self, USE_COLOUR, "the page", timeout=SLOW_TIMEOUT)
        self.click_client(*IN_BROWSER)
        wait_for(lambda: self.windows_titled("popup"), SLOW_TIMEOUT, "the pop-up")
        dialog = wait_for(lambda: next(iter(self.windows_titled(DIALOG_TITLE)), None), SLOW_TIMEOUT, "the dialog")
        self.screen.xdotool("windowactivate", "--sync", dialog)
        self.screen.key("Return")
        saved = os.path.join(self.program_environment()["XDG_DOWNLOAD_DIR"], "save.bin")

        def downloaded():
            # Where the download counts as the script's rather than the player's, it asks first.
            for consent in self.windows_titled_from("是否下载"):
                self.screen.xdotool("windowactivate", "--sync", consent)
                self.screen.key("alt+s")
            if not os.path.exists(saved):
                return False
            with open(saved, "rb") as f:
                return f.read() == SAVE
        wait_for(downloaded, SLOW_TIMEOUT, "the download")

    def windows_titled(self, title):
        # Windows a page opened carry its host after their title.
        return [window for window in self.screen.windows_of(self.program.pid)
                if self.screen.title(window) == title or self.screen.title(window).startswith(title + " — ")]

    def windows_titled_from(self, start):
        return [window for window in self.screen.windows_of(self.program.pid)
                if self.screen.title(window).startswith(start)]

    def about_boxes(self):
        return self.windows_titled(ABOUT_CAPTION)

    def assert_ended_without_leaks(self, how):
        wait_for(lambda: not self.program.alive(), SLOW_TIMEOUT, "the program to end")
        log = self.program.log()
        summary = SUMMARY.search(log)
        leaked = int(summary.group(2)) if summary else 0
        suppressed = sum(int(count) for count in SUPPRESSED.findall(log.partition("Suppressions used:")[2]))
        print(f"\nleak check after the {how}: {leaked} leaked allocations; "
              f"{suppressed} of the libraries' own suppressed", flush=True)
        self.assertIn("Suppressions used:", log, "the leak check ran (it lists the suppressions it used)")
        self.assertEqual(leaked, 0, f"the program's log:\n{log}")
        self.assertEqual(self.program.process.returncode, 0, f"the program's log:\n{log}")


if __name__ == "__main__":
    harness.main()
