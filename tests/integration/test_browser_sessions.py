"""Website data lasts between runs: a login cookie and local storage set in
one run are there in the next, also when two copies of the program ran at
once, each setting a cookie of its own. They are kept in the program's folder under
the user's XDG data folder, which only the user may open. Where that folder
cannot be used, website data lasts as long as the program and the player is
told so once. A second account (Ctrl+Shift+N, or --account=NAME) runs in a
copy of its own beside the first, with website data of its own, and a bad
account name is refused."""

import os
import stat
import subprocess
import unittest
import urllib.parse

import harness
import pages
from pages import PageServer, Response

# The close glyph of the main window's frame, which ends the program.
ON_CLOSE_GLYPH = (1028, 20)
LOGIN_COLOUR = (30, 90, 160)
FIRST_COLOUR = (160, 60, 30)
SECOND_COLOUR = (40, 140, 70)
# Where the two copies' windows (1052 x 699) go on the 1280 x 1024 screen: the first at the
# corner, the second at the other corner above it. The second covers none of the first's address
# box (384, 8, 329 x 18), close glyph, or browser left of 228 pixels.
FIRST_PLACE = (0, 0)
SECOND_PLACE = (228, 325)
IN_BOTH_BROWSERS = (100, 200)
STORE_PAGE = """<!DOCTYPE html><html><head><meta charset='utf-8'><title>store</title></head><body><script>
localStorage.setItem('player', 'xinglan-7');
fetch('/stored');
</script></body></html>"""
READ_PAGE = """<!DOCTYPE html><html><head><meta charset='utf-8'><title>read</title></head><body><script>
fetch('/read-back?player=' + encodeURIComponent(localStorage.getItem('player')));
</script></body></html>"""


class SessionTest(harness.ProgramTestCase):

    def setUp(self):
        self.site = PageServer({
            "/login": Response(pages.coloured_page("login", LOGIN_COLOUR),
                               headers=[("Set-Cookie", "session=s3cr3t-42; Max-Age=86400; Path=/; HttpOnly")]),
            "/again": Response(pages.coloured_page("again", LOGIN_COLOUR)),
            "/login-first": Response(pages.coloured_page("first", FIRST_COLOUR),
                                     headers=[("Set-Cookie", "first=one-1; Max-Age=86400; Path=/")]),
            "/login-second": Response(pages.coloured_page("second", SECOND_COLOUR),
                                      headers=[("Set-Cookie", "second=two-2; Max-Age=86400; Path=/")]),
            "/store": Response(STORE_PAGE),
            "/stored": Response("", "text/plain"),
            "/read": Response(READ_PAGE),
            "/read-back": Response("", "text/plain"),
        }).__enter__()
        self.addCleanup(self.site.__exit__, None, None, None)
        super().setUp()

    def end_program_by_its_close_glyph(self):
        self.click_client(*ON_CLOSE_GLYPH)
        harness.wait_for(lambda: not self.program.alive(), 30, "the program to end")
        harness.wait_for(lambda: not harness.process_group_alive(self.program.pid), 30,
                         "the browser's processes to end with the program")

    def test_login_cookie_is_sent_again_after_a_restart(self):
        pages.load_in_browser(self, self.site.url("/login"))
        self.site.wait_for_path("/login")
        pages.browser_colour_is(self, LOGIN_COLOUR, "the login page")
        self.end_program_by_its_close_glyph()

        self.start_program(suffix="-second-run")
        pages.load_in_browser(self, self.site.url("/again"))
        _, headers = self.site.wait_for_path("/again")
        self.assertIn("session=s3cr3t-42", headers.get("Cookie", ""))

    def run_copy(self, place, suffix):
        """Starts a copy of the program (its window becomes self.window) and moves its window to `place`."""
        if suffix:
            self.start_program(suffix=suffix)
        self.screen.xdotool("windowmove", "--sync", self.window, *place)
        harness.wait_for(lambda: self.screen.geometry(self.window)[:2] == place, 20, f"the window at {place}")
        self.origin = place
        return self.program, self.window

    def use_copy(self, copy):
        """Makes a copy's window self.window, with the keyboard (no window manager gives it on a click)."""
        self.program, self.window = copy
        self.origin = self.screen.geometry(self.window)[:2]
        self.screen.xdotool("windowfocus", "--sync", self.window)

    def test_two_copies_at_once_work_and_keep_both_cookies(self):
        first = self.run_copy(FIRST_PLACE, "")
        second = self.run_copy(SECOND_PLACE, "-second-copy")
        self.assertNotEqual(first[0].pid, second[0].pid)
        self.assertTrue(first[0].alive(), "the first copy still runs")
        self.assertTrue(second[0].alive(), "the second copy runs beside it")
        for copy, path, colour in ((first, "/login-first", FIRST_COLOUR), (second, "/login-second", SECOND_COLOUR)):
            self.use_copy(copy)
            pages.load_in_browser(self, self.site.url(path))
            self.site.wait_for_path(path)
            pages.browser_colour_is(self, colour, f"the page of {path} in its copy", point=IN_BOTH_BROWSERS)
        for copy in (first, second):
            self.use_copy(copy)
            self.end_program_by_its_close_glyph()

        self.start_program(suffix="-after-both")
        pages.load_in_browser(self, self.site.url("/again"))
        _, headers = self.site.wait_for_path("/again")
        cookies = headers.get("Cookie", "")
        self.assertIn("first=one-1", cookies)
        self.assertIn("second=two-2", cookies)

    def cookies_sent_to_again(self):
        self.site.clear_requests()
        pages.load_in_browser(self, self.site.url("/again"))
        _, headers = self.site.wait_for_path("/again")
        return headers.get("Cookie", "")

    def test_two_accounts_keep_their_own_cookies_side_by_side_and_after_restarts(self):
        default = self.run_copy(FIRST_PLACE, "")
        self.use_copy(default)
        self.screen.key("ctrl+shift+n")
        window = harness.wait_for(
            lambda: next(iter(self.screen.search_visible_by_name(r"\[账号2\]")), None), 60, "the window of 账号2")
        group = int(self.screen.xdotool("getwindowpid", window))
        self.addCleanup(harness.stop_process_group, group)
        self.screen.wait_for_title(window, "星澜网页游戏中心 [账号2]")
        self.screen.xdotool("windowmove", "--sync", window, *SECOND_PLACE)
        harness.wait_for(lambda: self.screen.geometry(window)[:2] == SECOND_PLACE, 20, "账号2's window moved")
        second = (None, window)
        account_folder = os.path.join(self.program_environment()["XDG_DATA_HOME"], "ludex", "accounts", "账号2")
        self.assertEqual(stat.S_IMODE(os.stat(account_folder).st_mode), 0o700)

        # The same host, a cookie of its own in each account.
        for copy, path, colour in ((default, "/login-first", FIRST_COLOUR), (second, "/login-second", SECOND_COLOUR)):
            self.use_copy(copy)
            pages.load_in_browser(self, self.site.url(path))
            self.site.wait_for_path(path)
            pages.browser_colour_is(self, colour, f"the page of {path} in its copy", point=IN_BOTH_BROWSERS)
        self.use_copy(default)
        self.assertEqual(self.cookies_sent_to_again(), "first=one-1")
        self.use_copy(second)
        self.assertEqual(self.cookies_sent_to_again(), "second=two-2")
        self.assertEqual(self.screen.title(window), "星澜网页游戏-浏览网页中 [账号2]")
        cookies = os.path.join(account_folder, "cookies.sqlite")
        harness.wait_for(lambda: os.path.exists(cookies), 30, f"账号2's cookie store {cookies}")

        self.click_client(*ON_CLOSE_GLYPH)
        harness.wait_for(lambda: not harness.process_group_alive(group), 30, "账号2's copy to end")
        self.use_copy(default)
        self.end_program_by_its_close_glyph()

        self.start_program(suffix="-default-again")
        self.assertEqual(self.screen.title(self.window), "星澜网页游戏中心")
        self.assertEqual(self.cookies_sent_to_again(), "first=one-1")
        self.end_program_by_its_close_glyph()
        self.start_program(suffix="-account-again", args=["--account=账号2"])
        self.assertEqual(self.screen.title(self.window), "星澜网页游戏中心 [账号2]")
        self.assertEqual(self.cookies_sent_to_again(), "second=two-2")

    def test_local_storage_lasts_between_runs(self):
        pages.load_in_browser(self, self.site.url("/store"))
        self.site.wait_for_path("/stored")
        self.end_program_by_its_close_glyph()

        self.start_program(suffix="-second-run")
        pages.load_in_browser(self, self.site.url("/read"))
        path, _ = self.site.wait_for_request(lambda p, _: p.startswith("/read-back"), 30, "the stored value")
        self.assertEqual(urllib.parse.parse_qs(urllib.parse.urlsplit(path).query)["player"], ["xinglan-7"])

    def test_website_data_folders_are_private_and_used(self):
        pages.load_in_browser(self, self.site.url("/login"))
        self.site.wait_for_path("/login")
        env = self.program_environment()
        for folder in (os.path.join(env["XDG_DATA_HOME"], "ludex"), os.path.join(env["XDG_CACHE_HOME"], "ludex")):
            mode = stat.S_IMODE(os.stat(folder).st_mode)
            self.assertEqual(mode, 0o700, f"{folder} has mode {oct(mode)}")
        cookies = os.path.join(env["XDG_DATA_HOME"], "ludex", "cookies.sqlite")
        harness.wait_for(lambda: os.path.exists(cookies), 30, f"the cookie store {cookies}")


class AccountNameTest(unittest.TestCase):
    """A name that could leave the accounts' folder, or is no name, is refused before anything starts."""

    def test_a_bad_account_name_ends_the_program_with_status_2(self):
        env = dict(os.environ)
        # Nothing is shown: a program that took the name would end for want of a display, with status 1.
        env.pop("DISPLAY", None)
        for args in (["--account=../x"], ["--account="], ["--account=a/b"], ["--account=" + "a" * 33],
                     ["--account=.."], ["--account"]):
            with self.subTest(args=args):
                result = subprocess.run([harness.PROGRAM, *args], env=env, capture_output=True, timeout=30)
                self.assertEqual(result.returncode, 2, result.stderr.decode(errors="replace"))
                self.assertIn("account", result.stderr.decode())


UNSAVED_DATA_NOTICE = "网站数据无法保存"
NO_SANDBOX_NOTICE = "网页未在沙盒中运行"


class WebsiteDataFolderTest(harness.ProgramTestCase):
    """The folders the program keeps website data in, set up by each test
    (in `prepare`) before the program starts."""

    def setUp(self):
        self.prepared = {}
        super().setUp()
        # The start page is shown once the web context, and so its folders, are made.
        self.web.wait_for_path("/pre.php?r=3141_13_0", port=harness.REDIRECT_PORT)

    def program_environment(self):
        env = super().program_environment()
        env["HOME"] = os.path.join(self.folders, "home")
        os.makedirs(env["HOME"], exist_ok=True)
        env.update(self.prepare(env))
        return env

    def prepare(self, env):
        """Makes what the test needs in `env`'s folders; returns changes to `env`."""
        return {}

    def mode(self, path):
        return stat.S_IMODE(os.lstat(path).st_mode)

    def assert_private(self, folder):
        harness.wait_for(lambda: os.path.isdir(folder) and self.mode(folder) == 0o700, 30,
                         f"{folder} to be private (its mode is {oct(self.mode(folder)) if os.path.exists(folder) else None})")

    def unsaved_data_notices_in_log(self):
        return self.program.log().count(UNSAVED_DATA_NOTICE)


class OpenFolderFromBeforeTest(WebsiteDataFolderTest):

    def prepare(self, env):
        for name in ("XDG_DATA_HOME", "XDG_CACHE_HOME"):
            folder = os.path.join(env[name], "ludex")
            os.makedirs(folder)
            os.chmod(folder, 0o755)
        return {}

    def test_an_open_folder_from_before_is_made_private(self):
        for folder in ("data", "cache"):
            self.assert_private(os.path.join(self.folders, folder, "ludex"))
        self.assertEqual(self.unsaved_data_notices_in_log(), 0)


class RelativeXdgFoldersTest(WebsiteDataFolderTest):

    def prepare(self, env):
        # The program starts in self.folders, where these would land.
        return {"XDG_DATA_HOME": "relative-data", "XDG_CACHE_HOME": "relative-cache"}

    def test_relative_xdg_folders_are_ignored(self):
        home = os.path.join(self.folders, "home")
        self.assert_private(os.path.join(home, ".local", "share", "ludex"))
        self.assert_private(os.path.join(home, ".cache", "ludex"))
        # Other libraries (fonts, shaders) may follow the relative folders; the program's own data does not.
        for relative in ("relative-data", "relative-cache"):
            self.assertFalse(os.path.exists(os.path.join(self.folders, relative, "ludex")), relative)


class SymlinkedFolderTest(WebsiteDataFolderTest):

    def prepare(self, env):
        self.elsewhere = os.path.join(self.folders, "elsewhere")
        os.makedirs(self.elsewhere)
        os.chmod(self.elsewhere, 0o755)
        os.makedirs(env["XDG_DATA_HOME"])
        os.symlink(self.elsewhere, os.path.join(env["XDG_DATA_HOME"], "ludex"))
        return {}

    def test_a_symlink_in_place_of_the_folder_is_left_alone(self):
        harness.wait_for(lambda: UNSAVED_DATA_NOTICE in self.program.log(), 30, "the notice of unsaved data")
        self.assertEqual(self.mode(self.elsewhere), 0o755, "the symlink's target had its mode changed")
        self.assertEqual(os.listdir(self.elsewhere), [], "website data went through the symlink")


class UnwritableHomeTest(WebsiteDataFolderTest):

    def prepare(self, env):
        # A file where the folders would go: no folder can be made under it, not even by root.
        blocker = os.path.join(self.folders, "blocker")
        with open(blocker, "w") as f:
            f.write("not a folder")
        return {"XDG_DATA_HOME": os.path.join(blocker, "data"), "XDG_CACHE_HOME": os.path.join(blocker, "cache")}

    def test_an_unwritable_home_gives_a_session_in_memory_and_one_notice(self):
        # The page sandbox, which needs those folders too, is given up with a notice of its own: the two
        # come together at start and are shown in turn.
        def shown():
            return [self.screen.title(w) for w in self.screen.windows_of(self.program.pid) if w != self.window]
        for notice in (UNSAVED_DATA_NOTICE, NO_SANDBOX_NOTICE):
            harness.wait_for(lambda: shown() == [notice], 30, f"the notice {notice!r} on the screen")
        # Pages still load, and log in for the run.
        site = PageServer({"/login": Response(pages.coloured_page("login", LOGIN_COLOUR),
                                              headers=[("Set-Cookie", "session=memory-1; Path=/")]),
                           "/again": Response(pages.coloured_page("again", LOGIN_COLOUR))}).__enter__()
        self.addCleanup(site.__exit__, None, None, None)
        pages.load_in_browser(self, site.url("/login"))
        pages.browser_colour_is(self, LOGIN_COLOUR, "the login page")
        pages.load_in_browser(self, site.url("/again"))
        _, headers = site.wait_for_path("/again")
        self.assertIn("session=memory-1", headers.get("Cookie", ""))
        self.assertEqual(self.unsaved_data_notices_in_log(), 1)


if __name__ == "__main__":
    harness.main()
