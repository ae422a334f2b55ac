"""The web processes' sandbox. Pages run in mount, process-id and IPC
namespaces of their own (and a user namespace of their own, unless the
program runs as root, for whom bwrap makes none), where a file the test
wrote under the user's home or in the user's cache folder is not there;
pages, pop-ups and a typed file:// address in the download folder still
load, and one elsewhere gets the Chinese error page that says the sandbox
keeps it out. Where bwrap cannot make the namespaces, pages still load and
the player is told once."""

import os
import stat
import tempfile

import assistive
import harness
import pages
from pages import PageServer, Response

PAGE_COLOUR = (30, 90, 200)
POPUP_COLOUR = (240, 200, 40)
LOCAL_COLOUR = (200, 60, 160)
HOME_SECRET_COLOUR = (10, 220, 200)
# The error page's background.
ERROR_BACKGROUND = (247, 247, 247)
NO_SANDBOX_TITLE = "网页未在沙盒中运行"
# What the error page for a file outside the download folder says.
KEPT_OUT_TEXT = "沙盒不允许打开下载文件夹以外的本地文件"
OPENER_PAGE = pages.coloured_page("opener", PAGE_COLOUR, """<script>
document.addEventListener('click', () => window.open('/popup', 'w', 'width=320,height=240'));
</script>""")


# The namespaces a sandboxed web process has of its own.
# WebKit shares the IPC namespace where the X server's shared memory needs it, so that one is not asked for.
SANDBOX_NAMESPACES = ("mnt", "pid") + (("user",) if os.getuid() != 0 else ())


def namespaces(pid):
    return {kind: os.readlink(f"/proc/{pid}/ns/{kind}") for kind in ("user", "mnt", "pid", "ipc")}


class SandboxTest(harness.ProgramTestCase):

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.bus = assistive.SessionBus(os.path.join(cls.logs, f"{cls.__name__}-dbus.log")).__enter__()
        cls.addClassCleanup(cls.bus.__exit__, None, None, None)
        cls.site = PageServer({
            "/page": Response(OPENER_PAGE),
            "/popup": Response(pages.coloured_page("popup", POPUP_COLOUR)),
        }).__enter__()
        cls.addClassCleanup(cls.site.__exit__, None, None, None)

    def setUp(self):
        # A page under the user's home, which no page may see.
        descriptor, self.home_file = tempfile.mkstemp(prefix="ludex-sandbox-", suffix=".html",
                                                      dir=os.path.expanduser("~"))
        with os.fdopen(descriptor, "w", encoding="utf-8") as f:
            f.write(pages.coloured_page("home secret", HOME_SECRET_COLOUR))
        self.addCleanup(os.remove, self.home_file)
        super().setUp()

    def program_environment(self):
        return {**super().program_environment(), **self.bus.environment()}

    def downloaded_page(self):
        """A page in the download folder, as a download would leave it."""
        folder = self.program_environment()["XDG_DOWNLOAD_DIR"]
        os.makedirs(folder, exist_ok=True)
        path = os.path.join(folder, "本地页面.html")
        with open(path, "w", encoding="utf-8") as f:
            f.write(pages.coloured_page("local", LOCAL_COLOUR))
        return path

    def page_process(self):
        pages.load_in_browser(self, self.site.url("/page"))
        pages.browser_colour_is(self, PAGE_COLOUR, "the page")
        return harness.wait_for(lambda: next(iter(pages.web_processes(self.program.pid)), None), 30,
                                "the page's web process")

    def open_popup(self):
        self.click_client(*pages.IN_BROWSER)
        popup = harness.wait_for(lambda: [w for w in self.screen.windows_of(self.program.pid)
                                          if self.screen.title(w).startswith("popup — ")], 30, "the pop-up")[0]
        x, y, width, height = self.screen.geometry(popup)
        self.screen.wait_for_pixel(x + width // 2, y + height // 2, lambda p: p == POPUP_COLOUR, timeout=30,
                                   what="the pop-up's page")

    def test_pages_run_in_namespaces_of_their_own_that_see_only_the_download_folder(self):
        local = self.downloaded_page()
        cached = os.path.join(self.program_environment()["XDG_CACHE_HOME"], "ludex-sandbox-cached")
        # A player's cache folder is there before the program; here the program may not have made it yet.
        os.makedirs(os.path.dirname(cached), exist_ok=True)
        with open(cached, "w", encoding="utf-8") as f:
            f.write("another program's cache")
        process = self.page_process()
        own = namespaces(self.program.pid)
        theirs = namespaces(process)
        for kind in SANDBOX_NAMESPACES:
            self.assertNotEqual(theirs[kind], own[kind], f"the web process shares the program's {kind} namespace")
        # The file system as the web process sees it.
        self.assertTrue(os.path.exists(f"/proc/{process}/root{local}"), "the download folder is not there")
        self.assertFalse(os.path.exists(f"/proc/{process}/root{self.home_file}"), "the home folder is there")
        self.assertFalse(os.path.exists(f"/proc/{process}/root{cached}"), "the user's cache folder is there")

        pages.load_in_browser(self, "file://" + local)
        pages.browser_colour_is(self, LOCAL_COLOUR, "the page from the download folder")
        # Last, as the pop-up may cover the main window's page.
        pages.load_in_browser(self, self.site.url("/page"))
        pages.browser_colour_is(self, PAGE_COLOUR, "the page again")
        self.open_popup()
        self.assert_alive()

    def test_typed_file_address_outside_the_download_folder_gets_the_sandbox_page(self):
        # Also a folder beside the download folder whose name begins with the download folder's.
        beside = os.path.join(self.folders, harness.DOWNLOAD_FOLDER + "-old", "beside.html")
        os.mkdir(os.path.dirname(beside))
        with open(beside, "w", encoding="utf-8") as f:
            f.write(pages.coloured_page("beside", HOME_SECRET_COLOUR))
        for path in (self.home_file, beside):
            pages.load_in_browser(self, "file://" + path)
            pages.browser_colour_is(self, ERROR_BACKGROUND, "the error page")

            def kept_out():
                texts = assistive.texts_when_readable(self.display.environment(self.bus.environment()),
                                                      self.program.pid)
                return KEPT_OUT_TEXT in texts and os.path.basename(path) in texts
            harness.wait_for(kept_out, 60, f"the sandbox's error page for {path}")
            self.assertNotEqual(self.screen.pixel(*self.client_point(*pages.IN_BROWSER)), HOME_SECRET_COLOUR)
        self.assert_alive()


class WithoutUserNamespacesTest(harness.ProgramTestCase):
    """A bwrap that fails, as it does where unprivileged user namespaces are off."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.tools = tempfile.mkdtemp(prefix="ludex-no-userns-")
        fake = os.path.join(cls.tools, "bwrap")
        with open(fake, "w") as f:
            f.write("#!/bin/sh\necho 'bwrap: No permissions to create new namespace' >&2\nexit 1\n")
        os.chmod(fake, stat.S_IRWXU)
        cls.addClassCleanup(lambda: (os.remove(fake), os.rmdir(cls.tools)))
        cls.site = PageServer({"/page": Response(OPENER_PAGE),
                               "/popup": Response(pages.coloured_page("popup", POPUP_COLOUR))}).__enter__()
        cls.addClassCleanup(cls.site.__exit__, None, None, None)

    def program_environment(self):
        return {**super().program_environment(), "PATH": self.tools + os.pathsep + os.environ["PATH"]}

    def test_pages_load_without_the_sandbox_and_the_player_is_told_once(self):
        harness.wait_for(lambda: NO_SANDBOX_TITLE in self.program.log(), 30, "the notice on stderr")
        notices = harness.wait_for(lambda: [w for w in self.screen.windows_of(self.program.pid)
                                            if self.screen.title(w) == NO_SANDBOX_TITLE], 30, "the notice")
        self.assertEqual(len(notices), 1)
        pages.load_in_browser(self, self.site.url("/page"))
        pages.browser_colour_is(self, PAGE_COLOUR, "the page")
        process = harness.wait_for(lambda: next(iter(pages.web_processes(self.program.pid)), None), 30,
                                   "the page's web process")
        self.assertEqual(namespaces(process)["mnt"], namespaces(self.program.pid)["mnt"])
        self.assertEqual(self.program.log().count(NO_SANDBOX_TITLE), 1)
        self.assert_alive()


if __name__ == "__main__":
    harness.main()
