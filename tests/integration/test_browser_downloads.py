"""Downloads land in the user's download folder under a name of their own,
with a notice when they start and when they end; a download that fails is
reported."""

import os

import harness
import pages
from pages import PageServer, Response

PAGE_COLOUR = (70, 70, 170)
SAVE_GAME = bytes(range(256)) * 64  # 16 KiB, every byte value
ATTACHMENT = [("Content-Disposition", 'attachment; filename="save-game.bin"')]


class DownloadTest(harness.ProgramTestCase):

    def setUp(self):
        self.site = PageServer({
            "/page": Response(pages.coloured_page("page", PAGE_COLOUR)),
            "/save-game": Response(SAVE_GAME, "application/octet-stream", headers=ATTACHMENT),
            "/broken": Response(SAVE_GAME[:1000], "application/octet-stream", headers=ATTACHMENT,
                                declared_length=len(SAVE_GAME)),
        }).__enter__()
        self.addCleanup(self.site.__exit__, None, None, None)
        super().setUp()
        pages.load_in_browser(self, self.site.url("/page"))
        pages.browser_colour_is(self, PAGE_COLOUR, "the page")

    def download_folder(self):
        return self.program_environment()["XDG_DOWNLOAD_DIR"]

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
        os.makedirs(self.download_folder())
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

    def test_a_broken_download_is_reported(self):
        pages.load_in_browser(self, self.site.url("/broken"))
        self.wait_for_notice("下载失败：save-game.bin")
        self.assert_alive()


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
        pages.load_in_browser(self, self.site.url("/save-game"))
        path = os.path.join(self.folders, "下载", "save-game.bin")
        harness.wait_for(lambda: os.path.exists(path) and os.path.getsize(path) == len(SAVE_GAME), 30,
                         f"the download at {path}")


if __name__ == "__main__":
    harness.main()
