"""Downloads land in the user's download folder under a plain name of their
own, as NAME.part until whole, with a notice when they start and when they
end; a download that fails or breaks off is reported and leaves nothing. One
the player did not start in the page itself waits for the player's yes, and
at most three run at once."""

import os
import threading
import time
import urllib.parse

import harness
import pages
from pages import PageServer, Response

PAGE_COLOUR = (70, 70, 170)
SAVE_GAME = bytes(range(256)) * 64  # 16 KiB, every byte value
ATTACHMENT = [("Content-Disposition", 'attachment; filename="save-game.bin"')]
LONG_NAME = "长" * 100 + ".zip"  # 304 bytes
CONSENT_TITLE = "是否下载“{name}”（来自 127.0.0.1:{port}）"
# Far more than will ever be sent: the response runs until the test stops it.
ENDLESS_LENGTH = 10 ** 12


def attachment(name):
    return [("Content-Disposition", f'attachment; filename="{name}"')]


class EndlessResponse:
    """A download that sends 64 KiB every 50 ms until stop(), then breaks off."""

    def __init__(self, name):
        self.name = name
        self.stopped = threading.Event()

    def __call__(self, handler):
        handler.send_response(200)
        handler.send_header("Content-Type", "application/octet-stream")
        handler.send_header("Content-Length", str(ENDLESS_LENGTH))
        for name, value in attachment(self.name):
            handler.send_header(name, value)
        handler.end_headers()
        try:
            while not self.stopped.wait(0.05):
                handler.wfile.write(bytes(65536))
                handler.wfile.flush()
        except OSError:
            pass
        handler.close_connection = True

    def stop(self):
        self.stopped.set()


class DownloadTest(harness.ProgramTestCase):

    def setUp(self):
        self.endless = [EndlessResponse(f"endless-{n}.bin") for n in range(4)]
        # The advert's site, on a port of its own: another origin.
        self.advert = PageServer({
            "/save-game": Response(SAVE_GAME, "application/octet-stream", headers=ATTACHMENT),
        }).__enter__()
        self.addCleanup(self.advert.__exit__, None, None, None)
        for endless in self.endless:
            self.addCleanup(endless.stop)
        self.site = PageServer({
            **{f"/endless-{n}": endless for n, endless in enumerate(self.endless)},
            "/dotfile": Response(SAVE_GAME, "application/octet-stream", headers=attachment(".bash_profile")),
            "/climb": Response(SAVE_GAME, "application/octet-stream", headers=attachment("../../x")),
            "/long": Response(SAVE_GAME, "application/octet-stream",
                              headers=[("Content-Disposition", "attachment; filename*=UTF-8''" +
                                        urllib.parse.quote(LONG_NAME))]),
            "/framed": Response(pages.coloured_page("framed", PAGE_COLOUR,
                                                    f"<iframe src='{self.advert.url('/save-game')}'></iframe>")),
            "/scripted": Response(pages.coloured_page("scripted", PAGE_COLOUR,
                                                      "<script>setTimeout(() => location.href = '/save-game', 300)"
                                                      "</script>")),
            "/link": Response(pages.coloured_page("link", PAGE_COLOUR,
                                                  "<a href='/save-game' style='display:block; width:100%; "
                                                  "height:100%'>save</a>")),
            "/page": Response(pages.coloured_page("page", PAGE_COLOUR)),
            "/save-game": Response(SAVE_GAME, "application/octet-stream", headers=ATTACHMENT),
            "/broken": Response(SAVE_GAME[:1000], "application/octet-stream", headers=ATTACHMENT,
                                declared_length=len(SAVE_GAME)),
        }).__enter__()
        self.addCleanup(self.site.__exit__, None, None, None)
        super().setUp()
        pages.load_in_browser(self, self.site.url("/page"))
        pages.browser_colour_is(self, PAGE_COLOUR, "the page")

    def program_environment(self):
        env = super().program_environment()
        # Any fallback to ~/Downloads stays in the test's folder.
        env["HOME"] = os.path.join(self.folders, "home")
        os.makedirs(env["HOME"], exist_ok=True)
        os.makedirs(env["XDG_DOWNLOAD_DIR"], exist_ok=True)
        return env

    def download_folder(self):
        return os.path.join(self.folders, "downloads")

    def files(self):
        return sorted(os.listdir(self.download_folder()))

    def wait_for_files(self, names, what):
        harness.wait_for(lambda: self.files() == sorted(names), 30, f"{what} (the folder holds {self.files()})")

    def consent_dialogs(self):
        return [w for w in self.screen.windows_of(self.program.pid) if self.screen.title(w).startswith("是否下载")]

    def notices(self):
        return [self.screen.title(w) for w in self.screen.windows_of(self.program.pid) if w != self.window]

    def wait_for_notice(self, title):
        harness.wait_for(lambda: title in self.notices(), 30, f"the notice {title!r} (shown: {self.notices()})")

    def wait_for_file(self, name, content):
        path = os.path.join(self.download_folder(), name)

        def complete():
            if not os.path.exists(path):
                return False
            with open(path, "rb") as f:
                return f.read() == content
        harness.wait_for(complete, 30, f"{path} with the whole download")

    def test_downloads_get_names_of_their_own_and_notices(self):
        # A file of that name is there already.
        os.makedirs(self.download_folder(), exist_ok=True)
        with open(os.path.join(self.download_folder(), "save-game.bin"), "wb") as f:
            f.write(b"older")

        pages.load_in_browser(self, self.site.url("/save-game"))
        self.wait_for_file("save-game (1).bin", SAVE_GAME)
        self.wait_for_notice("下载完成：save-game (1).bin")
        self.assertIn("开始下载：save-game (1).bin", self.program.log())

        pages.load_in_browser(self, self.site.url("/save-game"))
        self.wait_for_file("save-game (2).bin", SAVE_GAME)
        self.wait_for_notice("下载完成：save-game (2).bin")

        with open(os.path.join(self.download_folder(), "save-game.bin"), "rb") as f:
            self.assertEqual(f.read(), b"older")
        self.assertEqual(sorted(os.listdir(self.download_folder())),
                         ["save-game (1).bin", "save-game (2).bin", "save-game.bin"])
        # The page stays where it was.
        pages.browser_colour_is(self, PAGE_COLOUR, "the page after the downloads")

    def test_a_broken_download_is_reported_and_leaves_nothing(self):
        pages.load_in_browser(self, self.site.url("/broken"))
        self.wait_for_notice("下载失败：save-game.bin")
        self.wait_for_files([], "the broken download's part to go")
        self.assert_alive()

    def test_names_from_the_site_cannot_hide_leave_the_folder_or_run_long(self):
        self.started = time.time()
        # A dangling symlink holds its name as a file does.
        os.symlink("/nowhere", os.path.join(self.download_folder(), "bash_profile"))
        for path in ("/dotfile", "/climb", "/long"):
            pages.load_in_browser(self, self.site.url(path))
            harness.wait_for(lambda: any(n.startswith("下载完成") for n in self.notices()) or None, 30, path)
            harness.wait_for(lambda: not [n for n in self.files() if n.endswith(".part")], 30, f"{path} whole")
        names = [n for n in self.files() if n != "bash_profile"]
        self.assertEqual(len(names), 3, names)
        self.assertIn("bash_profile (1)", names)
        self.assertIn("长" * 65 + ".zip", names)  # 195 + 4 bytes
        for name in names:
            self.assertFalse(name.startswith("."), name)
            with open(os.path.join(self.download_folder(), name), "rb") as f:
                self.assertEqual(f.read(), SAVE_GAME, name)
        # Nothing climbed out of the folder (above the test's folder, any "x" must be older than the test).
        self.assertFalse(os.path.lexists(os.path.join(self.folders, "x")))
        climbed = os.path.join(os.path.dirname(self.folders), "x")
        self.assertFalse(os.path.lexists(climbed) and os.lstat(climbed).st_mtime >= self.started, climbed)
        self.assertFalse(os.path.lexists(os.path.join(self.folders, "home", ".bash_profile")))

    def parts(self, n):
        """The files of running download `n`: its part, and the engine's own file beside it."""
        return {f"endless-{n}.bin.part", f"endless-{n}.bin.part.wkdownload"}

    def wait_for_parts(self, count):
        expected = set().union(*(self.parts(n) for n in range(count)))
        harness.wait_for(lambda: set(self.files()) == expected, 30,
                         f"{count} downloads running as parts (the folder holds {self.files()})")

    def test_a_download_is_a_part_until_whole_and_nothing_when_it_breaks_off(self):
        pages.load_in_browser(self, self.site.url("/endless-0"))
        self.wait_for_parts(1)
        harness.wait_for(lambda: sum(os.path.getsize(os.path.join(self.download_folder(), name))
                                     for name in self.parts(0)) > 1024 * 1024, 30, "a megabyte in the parts")
        self.assertEqual(set(self.files()), self.parts(0))
        self.endless[0].stop()
        self.wait_for_notice("下载失败：endless-0.bin")
        self.wait_for_files([], "the broken-off download's part to go")

    def test_at_most_three_downloads_run_at_once(self):
        for n in range(3):
            pages.load_in_browser(self, self.site.url(f"/endless-{n}"))
            self.wait_for_parts(n + 1)
        pages.load_in_browser(self, self.site.url("/endless-3"))
        self.wait_for_notice("已阻止下载")
        self.wait_for_parts(3)
        for endless in self.endless:
            endless.stop()
        self.wait_for_files([], "the broken-off downloads' parts to go")

    def test_a_download_from_a_frame_of_another_site_waits_for_the_players_yes(self):
        pages.load_in_browser(self, self.site.url("/framed"))
        self.advert.wait_for_path("/save-game")
        dialog = harness.wait_for(lambda: next(iter(self.consent_dialogs()), None), 30, "the question to the player")
        self.assertEqual(self.screen.title(dialog), CONSENT_TITLE.format(name="save-game.bin", port=self.advert.port))
        self.assertEqual(self.files(), [])
        self.screen.xdotool("windowfocus", "--sync", dialog)
        self.screen.key("Escape")
        harness.wait_for(lambda: not self.consent_dialogs(), 30, "the question to go")
        self.assertEqual(self.files(), [])

    def test_a_scripted_download_is_saved_once_the_player_says_yes(self):
        pages.load_in_browser(self, self.site.url("/scripted"))
        dialog = harness.wait_for(lambda: next(iter(self.consent_dialogs()), None), 30, "the question to the player")
        self.assertEqual(self.screen.title(dialog), CONSENT_TITLE.format(name="save-game.bin", port=self.site.port))
        self.screen.xdotool("windowfocus", "--sync", dialog)
        self.screen.key("alt+s")
        self.wait_for_file("save-game.bin", SAVE_GAME)

    def test_a_link_the_player_clicks_downloads_without_asking(self):
        pages.load_in_browser(self, self.site.url("/link"))
        pages.browser_colour_is(self, PAGE_COLOUR, "the link page")
        self.click_client(*pages.IN_BROWSER)
        self.wait_for_file("save-game.bin", SAVE_GAME)
        self.assertEqual(self.consent_dialogs(), [])


class UserDirsDownloadTest(harness.ProgramTestCase):
    """Without XDG_DOWNLOAD_DIR in the environment, the download folder is the
    one named in the user's user-dirs.dirs."""

    def setUp(self):
        self.site = PageServer({
            "/save-game": Response(SAVE_GAME, "application/octet-stream", headers=ATTACHMENT),
        }).__enter__()
        self.addCleanup(self.site.__exit__, None, None, None)
        super().setUp()

    def program_environment(self):
        env = super().program_environment()
        env["XDG_DOWNLOAD_DIR"] = ""  # as good as unset
        os.makedirs(env["XDG_CONFIG_HOME"], exist_ok=True)
        with open(os.path.join(env["XDG_CONFIG_HOME"], "user-dirs.dirs"), "w") as f:
            f.write(f'XDG_DOWNLOAD_DIR="{self.folders}/下载"\n')
        return env

    def test_download_lands_in_the_user_dirs_download_folder(self):
        os.makedirs(os.path.join(self.folders, "下载"))
        pages.load_in_browser(self, self.site.url("/save-game"))
        path = os.path.join(self.folders, "下载", "save-game.bin")
        harness.wait_for(lambda: os.path.exists(path) and os.path.getsize(path) == len(SAVE_GAME), 30,
                         f"the download at {path}")


if __name__ == "__main__":
    harness.main()
