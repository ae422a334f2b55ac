"""Downloads land in the user's download folder under a plain name of their
own, written in a private folder until whole, with a notice when they start and when they
end (one for many from one site, none waiting over 10 s); a download that fails, breaks off,
is cancelled in the downloads window or would nearly fill the disk is stopped and leaves nothing. One
the player did not start in the page itself waits for the player's yes, and
at most three run at once.

Each test covers several cases in one run of the program, one after another."""

import os
import re
import stat
import subprocess
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
ADVERT_COLOUR = (200, 170, 40)
# Fills the page it is on: a click anywhere on the page is a click on it.
WHOLE_PAGE = "display:block; position:fixed; left:0; top:0; width:100%; height:100%; border:0"
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


class HeldBackResponse:
    """A download of SAVE_GAME whose last byte is sent only once `released` is set."""

    def __init__(self, name, released):
        self.name = name
        self.released = released

    def __call__(self, handler):
        handler.send_response(200)
        handler.send_header("Content-Type", "application/octet-stream")
        handler.send_header("Content-Length", str(len(SAVE_GAME)))
        for name, value in attachment(self.name):
            handler.send_header(name, value)
        handler.end_headers()
        handler.wfile.write(SAVE_GAME[:-1])
        handler.wfile.flush()
        if self.released.wait(60):
            handler.wfile.write(SAVE_GAME[-1:])


class DownloadTest(harness.ProgramTestCase):

    def setUp(self):
        self.endless = [EndlessResponse(f"endless-{n}.bin") for n in range(5)]
        self.released = threading.Event()
        self.addCleanup(self.released.set)
        # Downloads from a site of their own, whose notices only merge with one another.
        self.held_site = PageServer({f"/held-{n}": HeldBackResponse(f"held-{n}.bin", self.released)
                                     for n in range(3)}).__enter__()
        self.addCleanup(self.held_site.__exit__, None, None, None)
        # The advert's site, on a port of its own: another origin.
        self.advert = PageServer({
            "/save-game": Response(SAVE_GAME, "application/octet-stream", headers=ATTACHMENT),
            "/download-link": Response(pages.coloured_page("advert", ADVERT_COLOUR,
                                                           f"<a href='/save-game' download style='{WHOLE_PAGE}'>"
                                                           "save</a>")),
            # A plain link to the game site's own download, in the advert's frame; one that leaves the frame
            # for the whole window, and a click handler that sends the whole window there.
            "/site-link": lambda handler: Response(pages.coloured_page(
                "advert", ADVERT_COLOUR, f"<a href='{self.site.url('/save-game')}' style='{WHOLE_PAGE}'>save</a>")),
            "/top-link": lambda handler: Response(pages.coloured_page(
                "advert", ADVERT_COLOUR,
                f"<a href='{self.site.url('/save-game')}' target='_top' style='{WHOLE_PAGE}'>save</a>")),
            "/top-script": lambda handler: Response(pages.coloured_page("advert", ADVERT_COLOUR, f"""<script>
document.addEventListener('click', () => top.location = '{self.site.url('/save-game')}');
</script>""")),
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
            "/notes": Response(SAVE_GAME, "application/octet-stream", headers=attachment("notes.txt")),
            "/planted": Response(SAVE_GAME, "application/octet-stream", headers=attachment("planted.bin")),
            "/framed": Response(pages.coloured_page("framed", PAGE_COLOUR,
                                                    f"<iframe src='{self.advert.url('/save-game')}'></iframe>")),
            **{f"/framed{path}": Response(pages.coloured_page(
                "framed link", PAGE_COLOUR, f"<iframe src='{self.advert.url(path)}' style='{WHOLE_PAGE}'></iframe>"))
               for path in ("/download-link", "/site-link", "/top-link", "/top-script")},
            **{path: Response(pages.coloured_page(
                "scripted", PAGE_COLOUR, f"<script>setTimeout(() => location.href = '{target}', 300)</script>"))
               for path, target in (("/scripted", "/save-game"), ("/scripted-redirect", "/redirect"))},
            "/redirect": Response("", status=302, headers=[("Location", "/save-game")]),
            "/link": Response(pages.coloured_page("link", PAGE_COLOUR,
                                                  f"<a href='/clicked' style='{WHOLE_PAGE}'>save</a>")),
            "/download-link": Response(pages.coloured_page("download link", PAGE_COLOUR,
                                                           f"<a href='/linked' download style='{WHOLE_PAGE}'>"
                                                           "save</a>")),
            "/page": Response(pages.coloured_page("page", PAGE_COLOUR)),
            **{f"/made-{kind}": Response(pages.coloured_page(kind, PAGE_COLOUR, f"""<script>
const link = document.createElement('a');
link.href = {address};
link.download = '{kind}.bin';
document.body.append(link);
link.click();
</script>""")) for kind, address in (("blob", "URL.createObjectURL(new Blob(['saved']))"),
                                     ("data", "'data:application/octet-stream,saved'"))},
            # One click, three downloads one after another, within the time a click's timers count as the click.
            "/burst": Response(pages.coloured_page("burst", PAGE_COLOUR, """<script>
function save(n) {
  location.href = '/burst-' + n;
  if (n < 3) setTimeout(() => save(n + 1), 300);
}
document.addEventListener('click', () => save(1));
</script>""")),
            **{f"/burst-{n}": Response(SAVE_GAME, "application/octet-stream", headers=attachment("burst.bin"))
               for n in (1, 2, 3)},
            "/save-game": Response(SAVE_GAME, "application/octet-stream", headers=ATTACHMENT),
            "/clicked": Response(SAVE_GAME, "application/octet-stream", headers=attachment("clicked.bin")),
            "/linked": Response(SAVE_GAME, "application/octet-stream", headers=attachment("linked.bin")),
            "/broken": Response(SAVE_GAME[:1000], "application/octet-stream", headers=attachment("broken.bin"),
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
        env["LUDEX_DEBUG"] = "web"
        os.makedirs(env["HOME"], exist_ok=True)
        return env

    def download_folder(self):
        return os.path.join(self.folders, harness.DOWNLOAD_FOLDER)

    def files(self):
        return sorted(os.listdir(self.download_folder()))

    def wait_for_files(self, names, what):
        harness.wait_for(lambda: self.files() == sorted(names), 30, f"{what} (the folder holds {self.files()})")

    def consent_dialogs(self):
        return [w for w in self.screen.windows_of(self.program.pid) if self.screen.title(w).startswith("是否下载")]

    def wait_for_consent_dialog(self, name, port):
        dialog = harness.wait_for(lambda: next(iter(self.consent_dialogs()), None), 30,
                                  f"the question to the player about {name} from port {port}")
        self.assertEqual(self.screen.title(dialog), CONSENT_TITLE.format(name=name, port=port))
        self.screen.xdotool("windowfocus", "--sync", dialog)
        return dialog

    def wait_for_notice(self, title):
        # Every notice is also written to the log at once; on the screen they take turns.
        harness.wait_for(lambda: f"ludex: {title}" in self.program.log(), 30, f"the notice {title!r} in the log")

    def shown_notices(self):
        """(title, ms it waited) of each notice the strip has shown, from the log."""
        return [(title, int(waited)) for waited, title in
                re.findall(r"notice shown after (\d+) ms: (.*)", self.program.log())]

    def wait_for_shown_notice(self, title, timeout=30, since=0):
        """Waits for `title` among the notices shown after the first `since`."""
        harness.wait_for(lambda: title in dict(self.shown_notices()[since:]), timeout,
                         f"the notice {title!r} on the screen (shown: {self.shown_notices()})")

    def program_window(self, title):
        return next((w for w in self.screen.windows_of(self.program.pid) if self.screen.title(w) == title), None)

    def close(self, window):
        """Closes a window of the program with Esc, as the player would, and gives the main window the keyboard."""
        self.screen.xdotool("windowfocus", "--sync", window)
        self.screen.key("Escape")
        harness.wait_for(lambda: window not in self.screen.windows_of(self.program.pid), 10, "the window to close")
        self.screen.xdotool("windowfocus", "--sync", self.window)

    def wait_for_file(self, name, content):
        path = os.path.join(self.download_folder(), name)

        def complete():
            if not os.path.exists(path):
                return False
            with open(path, "rb") as f:
                return f.read() == content
        harness.wait_for(complete, 30, f"{path} with the whole download")

    def test_downloads_get_plain_names_of_their_own_and_notices(self):
        self.started = time.time()
        # Files of these names are there already: a file, a dangling symlink, another program's part file.
        with open(os.path.join(self.download_folder(), "save-game.bin"), "wb") as f:
            f.write(b"older")
        os.symlink("/nowhere", os.path.join(self.download_folder(), "bash_profile"))
        with open(os.path.join(self.download_folder(), "notes.txt.part"), "wb") as f:
            f.write(b"not ours")
        before = set(self.files())

        pages.load_in_browser(self, self.site.url("/save-game"))
        self.wait_for_file("save-game (1).bin", SAVE_GAME)
        self.assertIn("ludex: 开始下载：save-game (1).bin", self.program.log())
        self.wait_for_shown_notice("下载完成：save-game (1).bin")
        pages.load_in_browser(self, self.site.url("/save-game"))
        self.wait_for_file("save-game (2).bin", SAVE_GAME)
        self.wait_for_notice("下载完成：save-game (2).bin")
        pages.load_in_browser(self, self.site.url("/notes"))
        self.wait_for_file("notes (1).txt", SAVE_GAME)

        # Names from the site that would hide the file, leave the folder or run long.
        for path in ("/dotfile", "/climb", "/long"):
            count = len(self.files()) + 1
            pages.load_in_browser(self, self.site.url(path))
            harness.wait_for(lambda: len(self.files()) == count and not self.writing(),
                             30, f"{path} whole (the folder holds {self.files()})")
        names = set(self.files()) - before - {"save-game (1).bin", "save-game (2).bin", "notes (1).txt"}
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

        # A download that breaks off is reported and leaves nothing.
        pages.load_in_browser(self, self.site.url("/broken"))
        self.wait_for_notice("下载失败：broken.bin")
        self.wait_for_files(before | names | {"save-game (1).bin", "save-game (2).bin", "notes (1).txt"},
                            "the broken download's part to go")

        # What was there is left as it was.
        with open(os.path.join(self.download_folder(), "save-game.bin"), "rb") as f:
            self.assertEqual(f.read(), b"older")
        with open(os.path.join(self.download_folder(), "notes.txt.part"), "rb") as f:
            self.assertEqual(f.read(), b"not ours")

        # A file takes the name while a download runs: the download moves aside.
        for n in range(3):
            pages.load_in_browser(self, self.held_site.url(f"/held-{n}"))
            harness.wait_for(lambda: len(self.writing()) == n + 1, 30, f"held-back download {n} in its own folder")
        with open(os.path.join(self.download_folder(), "held-0.bin"), "wb") as f:
            f.write(b"the player's own")
        shown = len(self.shown_notices())
        self.released.set()
        for name in ("held-0 (1).bin", "held-1.bin", "held-2.bin"):
            self.wait_for_file(name, SAVE_GAME)
        with open(os.path.join(self.download_folder(), "held-0.bin"), "rb") as f:
            self.assertEqual(f.read(), b"the player's own")
        # Ending together, the three are one notice, shown within 10 s; a click on it shows the downloads.
        self.wait_for_shown_notice("3 个文件下载完成", timeout=12, since=shown)
        notice = harness.wait_for(lambda: self.program_window("3 个文件下载完成"), 10, "the merged notice's window")
        self.screen.click(*harness.centre(self.screen.geometry(notice)))
        listing = harness.wait_for(lambda: self.program_window("下载"), 10, "the downloads window")
        # Over the main window, whose child it is.
        centres = [harness.centre(self.screen.geometry(w)) for w in (listing, self.window)]
        for mine, main in zip(*centres):
            self.assertAlmostEqual(mine, main, delta=2)
        self.close(listing)
        # Symlinks to files outside the folder, where the engine writes beside a destination in the folder.
        planted = ("planted.bin.wkdownload", "planted.bin.part.wkdownload")
        for name in planted:
            with open(os.path.join(self.folders, name), "wb") as f:
                f.write(b"outside")
            os.symlink(os.path.join(self.folders, name), os.path.join(self.download_folder(), name))
        pages.load_in_browser(self, self.site.url("/planted"))
        self.wait_for_file("planted.bin", SAVE_GAME)
        for name in planted:
            with open(os.path.join(self.folders, name), "rb") as f:
                self.assertEqual(f.read(), b"outside", name)
            self.assertTrue(os.path.islink(os.path.join(self.download_folder(), name)), name)

        # The page stays where it was, and no notice of the burst waited more than 10 s.
        pages.browser_colour_is(self, PAGE_COLOUR, "the page after the downloads")
        self.assertLessEqual(max(waited for _, waited in self.shown_notices()), 10000, self.shown_notices())
        self.assert_alive()

    def parts(self, n):
        """The files of running download `n`: its destination, and the engine's own file beside it."""
        return sorted([f"endless-{n}.bin", f"endless-{n}.bin.wkdownload"])

    def writing(self):
        """{folder: its files} of the download folder's folders, each a running download's, for the user alone."""
        found = {}
        for name in self.files():
            path = os.path.join(self.download_folder(), name)
            if os.path.isdir(path) and not os.path.islink(path):
                self.assertEqual(stat.S_IMODE(os.stat(path).st_mode), 0o700, path)
                found[path] = sorted(os.listdir(path))
        return found

    def wait_for_parts(self, numbers):
        expected = sorted(self.parts(n) for n in numbers)
        harness.wait_for(lambda: sorted(self.writing().values()) == expected and len(self.files()) == len(expected),
                         30, f"downloads {numbers} running in folders of their own (the folder holds {self.files()})")

    def test_downloads_are_parts_until_whole_three_at_most_and_leave_nothing_when_broken_off(self):
        pages.load_in_browser(self, self.site.url("/endless-0"))
        self.wait_for_parts([0])
        harness.wait_for(lambda: sum(os.path.getsize(os.path.join(folder, name)) for folder, names
                                     in self.writing().items() for name in names) > 1024 * 1024, 30,
                         "a megabyte in the parts")
        self.wait_for_parts([0])
        for n in (1, 2):
            pages.load_in_browser(self, self.site.url(f"/endless-{n}"))
            self.wait_for_parts(range(n + 1))
        pages.load_in_browser(self, self.site.url("/endless-3"))
        self.wait_for_notice("已阻止下载")
        self.wait_for_parts([0, 1, 2])

        # The player cancels the first in the downloads window, whose button has the keyboard when it opens:
        # the download stops and leaves nothing.
        self.screen.xdotool("windowfocus", "--sync", self.window)
        self.screen.key("ctrl+j")
        listing = harness.wait_for(lambda: self.program_window("下载"), 10, "the downloads window")
        self.screen.xdotool("windowfocus", "--sync", listing)
        self.screen.key("space")
        self.wait_for_parts([1, 2])
        self.assertNotIn("下载失败：endless-0.bin", self.program.log())
        self.close(listing)

        self.endless[1].stop()
        self.wait_for_notice("下载失败：endless-1.bin")
        self.wait_for_parts([2])
        for endless in self.endless[:4]:
            endless.stop()
        self.wait_for_files([], "the broken-off downloads' parts to go")

        # On a disk with little room left, an endless download stops before the free space falls under 1 GiB.
        if os.geteuid() != 0:
            self.skipTest("a small disk for the download folder needs root to mount")
        subprocess.run(["mount", "-t", "tmpfs", "-o", "size=1028m", "ludex-test", self.download_folder()], check=True)
        self.addCleanup(subprocess.run, ["umount", "-l", self.download_folder()], check=True)
        pages.load_in_browser(self, self.site.url("/endless-4"))
        self.wait_for_notice("下载已停止：endless-4.bin")
        self.wait_for_files([], "the stopped download's part to go")
        disk = os.statvfs(self.download_folder())
        self.assertGreaterEqual(disk.f_bavail * disk.f_frsize, 1 << 30)

    def test_downloads_the_player_did_not_start_in_the_page_wait_for_the_players_yes(self):
        # Started by another site's frame: asked, and refused.
        pages.load_in_browser(self, self.site.url("/framed"))
        self.advert.wait_for_path("/save-game")
        self.wait_for_consent_dialog("save-game.bin", self.advert.port)
        self.assertEqual(self.files(), [])
        self.screen.key("Escape")
        harness.wait_for(lambda: not self.consent_dialogs(), 30, "the question to go")
        self.assertEqual(self.files(), [])

        # Started by a script through a redirect: asked too.
        pages.load_in_browser(self, self.site.url("/scripted-redirect"))
        self.wait_for_consent_dialog("save-game.bin", self.site.port)
        self.screen.key("Escape")
        harness.wait_for(lambda: not self.consent_dialogs(), 30, "the question to go")
        self.assertEqual(self.files(), [])

        # Started by a script: asked, and saved once the player says yes.
        pages.load_in_browser(self, self.site.url("/scripted"))
        self.wait_for_consent_dialog("save-game.bin", self.site.port)
        self.screen.key("alt+s")
        self.wait_for_file("save-game.bin", SAVE_GAME)
        harness.wait_for(lambda: not self.consent_dialogs(), 30, "the question to go")

        # Addresses a script made name the site that made them, or that they have none.
        for kind, site in (("blob", f"127.0.0.1:{self.site.port}"), ("data", "匿名来源")):
            pages.load_in_browser(self, self.site.url(f"/made-{kind}"))
            dialog = harness.wait_for(lambda: next(iter(self.consent_dialogs()), None), 30, f"the {kind} question")
            self.assertEqual(self.screen.title(dialog), f"是否下载“{kind}.bin”（来自 {site}）")
            self.screen.xdotool("windowfocus", "--sync", dialog)
            self.screen.key("Escape")
            harness.wait_for(lambda: not self.consent_dialogs(), 30, "the question to go")

        # A link the player clicks, and one that is a download link, save without asking.
        for path, name in (("/link", "clicked.bin"), ("/download-link", "linked.bin")):
            pages.load_in_browser(self, self.site.url(path))
            self.site.wait_for_path(path)
            pages.browser_colour_is(self, PAGE_COLOUR, f"the page {path}")
            self.click_client(*pages.IN_BROWSER)
            self.wait_for_file(name, SAVE_GAME)
            self.assertEqual(self.consent_dialogs(), [], path)

        # Links in another site's frame, clicked by the player, are still asked about: a download link of
        # its own, and a download of the game site's in the frame or in the whole window.
        for path, server in (("/download-link", self.advert), ("/site-link", self.site), ("/top-link", self.site),
                             ("/top-script", self.site)):
            pages.load_in_browser(self, self.site.url(f"/framed{path}"))
            self.advert.wait_for_path(path)
            pages.browser_colour_is(self, ADVERT_COLOUR, f"the advert's frame {path} over the page")
            server.clear_requests()
            self.click_client(*pages.IN_BROWSER)
            server.wait_for_path("/save-game")
            self.wait_for_consent_dialog("save-game.bin", server.port)
            self.screen.key("Escape")
            harness.wait_for(lambda: not self.consent_dialogs(), 30, "the question to go")
            self.assertEqual(self.files(), ["clicked.bin", "linked.bin", "save-game.bin"], path)

        # One click is one yes: the page's further downloads from the same click ask.
        pages.load_in_browser(self, self.site.url("/burst"))
        self.site.wait_for_path("/burst")
        pages.browser_colour_is(self, PAGE_COLOUR, "the page /burst")
        self.click_client(*pages.IN_BROWSER)
        self.wait_for_file("burst.bin", SAVE_GAME)
        for left in (1, 0):
            self.wait_for_consent_dialog("burst.bin", self.site.port)
            self.screen.key("Escape")
            harness.wait_for(lambda: len(self.consent_dialogs()) <= left, 30, "a question to go")
        self.assertEqual(self.files(), ["burst.bin", "clicked.bin", "linked.bin", "save-game.bin"])


class UserDirsDownloadTest(harness.ProgramTestCase):
    """Without XDG_DOWNLOAD_DIR in the environment, the download folder is the
    one named in the user's user-dirs.dirs; one not yet there is made, for
    the user alone, rather than falling back to ~/Downloads."""

    def setUp(self):
        self.site = PageServer({
            "/save-game": Response(SAVE_GAME, "application/octet-stream", headers=ATTACHMENT),
        }).__enter__()
        self.addCleanup(self.site.__exit__, None, None, None)
        super().setUp()

    def program_environment(self):
        env = super().program_environment()
        env["XDG_DOWNLOAD_DIR"] = ""  # as good as unset
        env["HOME"] = os.path.join(self.folders, "home")
        os.makedirs(env["HOME"], exist_ok=True)
        os.makedirs(env["XDG_CONFIG_HOME"], exist_ok=True)
        with open(os.path.join(env["XDG_CONFIG_HOME"], "user-dirs.dirs"), "w") as f:
            f.write(f'XDG_DOWNLOAD_DIR="{self.folders}/下载"\n')
        return env

    def test_download_lands_in_the_user_dirs_download_folder_made_if_missing(self):
        pages.load_in_browser(self, self.site.url("/save-game"))
        folder = os.path.join(self.folders, "下载")
        path = os.path.join(folder, "save-game.bin")
        harness.wait_for(lambda: os.path.exists(path) and os.path.getsize(path) == len(SAVE_GAME), 30,
                         f"the download at {path}")
        self.assertEqual(stat.S_IMODE(os.stat(folder).st_mode), 0o700)
        self.assertFalse(os.path.exists(os.path.join(self.folders, "home", "Downloads")))


if __name__ == "__main__":
    harness.main()
