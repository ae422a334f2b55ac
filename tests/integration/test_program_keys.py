"""The program's own keys, whichever of its windows has the keyboard.

The boss key, Ctrl+Alt+Z or the one the settings file names, hides every
window of the program (the main window, the about box, pages' pop-up
windows, and those of its other copies) also while another program has the
keyboard, and brings them back where they were; a key another program holds
is told once. Ctrl+Shift+S saves
the main browser's page, as shown, canvas and WebGL drawing included, as a
PNG file named by the time under the pictures folder, and names the file
in a notice; a folder it cannot write to gives a notice instead."""

import os
import re
import subprocess
import sys
import time

import desktop
import harness
import pages
from pages import PageServer, Response

OPENER_COLOUR = (40, 110, 60)
POPUP_COLOUR = (150, 60, 140)
# A click opens a pop-up window.
OPENER_PAGE = pages.coloured_page("opener", OPENER_COLOUR, """<script>
document.addEventListener('click', () => window.open('/popup', 'game', 'width=320,height=240'));
</script>""")
POPUP_PAGE = pages.coloured_page("弹出的游戏窗口", POPUP_COLOUR)
# A click opens a pop-up window a while later, from a timer, within the second in which the click still counts.
LATER_PAGE = pages.coloured_page("later", OPENER_COLOUR, """<script>
document.addEventListener('click', () => setTimeout(() => window.open('/popup', 'later', 'width=320,height=240'), 800));
</script>""")
# In the main window's browser, clear of the pop-up, which stands over the middle of the main window.
BESIDE_THE_POPUP = (100, 600)
# The main window's Label2, which opens the about box, in client pixels.
LABEL2 = (968, 72, 73, 17)
ABOUT_TITLE = "关于"
# Where the about box and the other program's window are put: places of their own, not where they open.
ABOUT_PLACE = (700, 720)
OTHER_PLACE = (40, 760)
OTHER_TITLE = "ludex-test-other-program"

# The browser's size in the main window (15735 x 9135 twips).
BROWSER_SIZE = (1049, 609)
CANVAS_COLOUR = (220, 120, 20)
WEBGL_COLOUR = (20, 90, 230)
# The left half of the page a 2D canvas, the right half a WebGL canvas, each drawn once by the page.
CANVAS_PAGE = """<!DOCTYPE html><html><head><meta charset='utf-8'><title>canvas</title>
<style>html, body { margin: 0; height: 100vh; background: white; overflow: hidden; }
canvas { position: absolute; top: 0; width: 50vw; height: 100vh; }</style></head><body>
<canvas id='flat' style='left: 0'></canvas><canvas id='gl' style='left: 50vw'></canvas><script>
const flat = document.getElementById('flat').getContext('2d');
flat.fillStyle = 'rgb(%d, %d, %d)';
flat.fillRect(0, 0, 300, 150);
const gl = document.getElementById('gl').getContext('webgl');
gl.clearColor(%f, %f, %f, 1);
gl.clear(gl.COLOR_BUFFER_BIT);
fetch('/drawn?webgl=' + (gl !== null));
</script></body></html>""" % (CANVAS_COLOUR + tuple(c / 255 for c in WEBGL_COLOUR))
SCREENSHOT_NAME = re.compile(r"^\d{4}-\d\d-\d\d_\d\d-\d\d-\d\d(_\d+)?\.png$")


class ProgramKeysCase(harness.ProgramTestCase):
    """The pages, the pictures folder and the checks the tests below share."""

    def setUp(self):
        self.site = PageServer({
            "/opener": Response(OPENER_PAGE),
            "/popup": Response(POPUP_PAGE),
            "/later": Response(LATER_PAGE),
            "/canvas": Response(CANVAS_PAGE),
            "/drawn": Response("", "text/plain"),
        }).__enter__()
        self.addCleanup(self.site.__exit__, None, None, None)
        super().setUp()

    def program_environment(self):
        env = super().program_environment()
        env["XDG_PICTURES_DIR"] = os.path.join(self.folders, "pictures")
        os.makedirs(env["XDG_PICTURES_DIR"], exist_ok=True)
        # WebGL games are shot as seen too, for the players who switch WebGL on where it is off by default.
        os.makedirs(os.path.join(env["XDG_CONFIG_HOME"], "ludex"), exist_ok=True)
        with open(os.path.join(env["XDG_CONFIG_HOME"], "ludex", "settings.ini"), "w") as f:
            f.write("[web]\nwebgl=on\n")
        return env

    def visible(self):
        return set(self.screen.windows_of(self.program.pid))

    def titled(self, title):
        return [w for w in self.visible() if self.screen.title(w) == title]

    def start_other_program(self):
        """A small window of another X client, with the keyboard."""
        other = subprocess.Popen(["xmessage", "-title", OTHER_TITLE, "-geometry", "+%d+%d" % OTHER_PLACE,
                                  "another program"],
                                 env=self.display.environment(), start_new_session=True,
                                 stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(harness.stop_process, other)
        # xmessage does not say its process; its title does.
        window = harness.wait_for(lambda: next(iter(self.screen.search_visible_by_name(f"^{OTHER_TITLE}$")), None),
                                  30, "the other program's window")
        self.screen.xdotool("windowfocus", "--sync", window)
        return window

    def check_boss_key_hides_every_window_and_brings_each_back_in_its_place(self):
        pages.load_in_browser(self, self.site.url("/opener"))
        pages.browser_colour_is(self, OPENER_COLOUR, "the opener page")
        self.click_client(*pages.IN_BROWSER)
        popup = harness.wait_for(lambda: next(iter(self.titled(f"弹出的游戏窗口 — 来自 127.0.0.1:{self.site.port}")),
                                              None), 30, "the pop-up window")
        self.click_client(*harness.centre(LABEL2))
        about = harness.wait_for(lambda: next(iter(self.titled(ABOUT_TITLE)), None), 30, "the about box")
        self.screen.xdotool("windowmove", "--sync", about, *ABOUT_PLACE)
        harness.wait_for(lambda: self.screen.geometry(about)[:2] == ABOUT_PLACE, 20, "the about box moved")
        ours = (self.window, popup, about)
        places = {w: self.screen.geometry(w) for w in ours}
        other = self.start_other_program()

        self.screen.key("ctrl+alt+z")
        harness.wait_for(lambda: not self.visible() & set(ours), 20,
                         f"every window of the program hidden (shown: {self.visible() & set(ours)})")
        self.assertEqual(int(self.screen.xdotool("getwindowfocus")), other, "the other program lost the keyboard")
        self.assert_alive()

        self.screen.key("ctrl+alt+z")
        harness.wait_for(lambda: set(ours) <= self.visible(), 20, "the program's windows shown again")
        for window, place in places.items():
            harness.wait_for(lambda: self.screen.geometry(window) == place, 20,
                             f"{self.screen.title(window)!r} back at {place} (it is at {self.screen.geometry(window)})")
        self.origin = places[self.window][:2]
        pages.browser_colour_is(self, OPENER_COLOUR, "the opener page shown again", point=BESIDE_THE_POPUP)


class ProgramKeysTest(ProgramKeysCase):

    def test_boss_key_hides_every_window_and_brings_each_back_in_its_place(self):
        self.check_boss_key_hides_every_window_and_brings_each_back_in_its_place()

    def test_a_window_a_page_opens_while_hidden_comes_only_with_the_others(self):
        pages.load_in_browser(self, self.site.url("/later"))
        pages.browser_colour_is(self, OPENER_COLOUR, "the page")
        self.click_client(*pages.IN_BROWSER)
        self.screen.key("ctrl+alt+z")
        harness.wait_for(lambda: not self.visible(), 20, "the main window hidden")
        title = f"弹出的游戏窗口 — 来自 127.0.0.1:{self.site.port}"
        # The pop-up is made and named by its page out of sight, and stays there.
        harness.wait_for(lambda: subprocess.run(
            ["xdotool", "search", "--pid", str(self.program.pid), "--name", f"^{title}$"],
            env=self.display.environment(), capture_output=True, timeout=30).stdout, 30, "the pop-up window made")
        deadline = time.monotonic() + 3
        while time.monotonic() < deadline:
            # One shown while the others are away is mapped for a moment before it goes with them.
            harness.wait_for(lambda: not self.visible(), 1, "a window of the program shown while hidden to go")
        self.screen.key("ctrl+alt+z")
        harness.wait_for(lambda: len(self.titled(title)) == 1 and self.window in self.visible(), 20,
                         "the pop-up shown with the main window")

    def test_boss_key_hides_and_shows_every_copy_of_the_program_together(self):
        env = self.display.environment(self.program_environment())
        log = os.path.join(self.logs, "boss-key-second-copy.log")
        second = harness.Program(harness.PROGRAM, env, log, args=["--account=b"], cwd=self.folders)
        self.addCleanup(second.stop)
        second_window = self.screen.wait_for_window(second)
        self.screen.wait_for_title(second_window, "星澜网页游戏中心 [b]")
        self.start_other_program()

        self.screen.key("ctrl+alt+z")
        harness.wait_for(lambda: not self.screen.windows_of(self.program.pid) and not self.screen.windows_of(second.pid),
                         20, "the windows of both copies hidden")
        self.screen.key("ctrl+alt+z")
        harness.wait_for(lambda: self.window in self.screen.windows_of(self.program.pid) and
                         second_window in self.screen.windows_of(second.pid), 20, "the windows of both copies back")
        # The copy that did not get the grab knows that the other has it.
        self.assertNotIn(BOSS_KEY_TAKEN, second.log())
        self.assertNotIn(BOSS_KEY_TAKEN, self.program.log())

    def screenshots(self):
        folder = os.path.join(self.folders, "pictures", "ludex")
        return sorted(os.listdir(folder)) if os.path.isdir(folder) else []

    def test_screenshot_saves_the_page_as_shown(self):
        pages.load_in_browser(self, self.site.url("/canvas"))
        self.site.wait_for_path("/drawn?webgl=true")
        pages.browser_colour_is(self, CANVAS_COLOUR, "the 2D canvas", point=(100, 300))
        pages.browser_colour_is(self, WEBGL_COLOUR, "the WebGL canvas", point=(900, 300))
        self.click_client(*pages.IN_BROWSER)
        # Two at once: the second takes a name of its own, "_2" within the same second.
        self.screen.key("ctrl+shift+s", "ctrl+shift+s")
        names = harness.wait_for(lambda: len(self.screenshots()) == 2 and self.screenshots(), 30,
                                 f"two screenshots in the pictures folder (there are {self.screenshots()})")
        for name in names:
            self.assertRegex(name, SCREENSHOT_NAME)
        if names[0][:19] == names[1][:19]:
            self.assertEqual(names[1], names[0][:19] + "_2.png")
        path = os.path.join(self.folders, "pictures", "ludex", names[0])
        for name in names:
            harness.wait_for(lambda: f"截图已保存: {os.path.join(os.path.dirname(path), name)}" in self.program.log(),
                             20, f"the notice naming {name}")
        with open(path, "rb") as f:
            self.assertEqual(f.read(8), b"\x89PNG\r\n\x1a\n")
        picture = harness.Image.from_ppm(subprocess.run(["convert", path, "-depth", "8", "ppm:-"], check=True,
                                                        capture_output=True, timeout=30).stdout)
        self.assertEqual((picture.width, picture.height), BROWSER_SIZE)
        self.assertEqual(picture.pixel(100, 300), CANVAS_COLOUR)
        self.assertEqual(picture.pixel(900, 300), WEBGL_COLOUR)
        # Nothing of the frame around the browser.
        self.assertEqual(picture.pixel(0, 0), CANVAS_COLOUR)
        self.assertEqual(picture.pixel(BROWSER_SIZE[0] - 1, BROWSER_SIZE[1] - 1), WEBGL_COLOUR)


class BossKeyUnderWindowManagerTest(ProgramKeysCase):
    """A window manager that frames the about box puts a window shown again where its frame was, unless told."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        desktop.run_openbox_for(cls)

    def test_boss_key_brings_each_window_back_in_its_place(self):
        self.check_boss_key_hides_every_window_and_brings_each_back_in_its_place()


# Holds the passive grab of Ctrl+Alt+Z on the root window (every Caps Lock and Num Lock state) until it is ended.
GRABBER = f"""
import sys, time
sys.path.insert(0, {os.path.dirname(os.path.abspath(__file__))!r})
import xlib
x = xlib.x11()
display = x.XOpenDisplay(None)
code = x.XKeysymToKeycode(display, x.XStringToKeysym(b"z"))
for locks in (0, 2, 16, 18):
    x.XGrabKey(display, code, 4 | 8 | locks, x.XDefaultRootWindow(display), 0, 1, 1)
x.XSync(display, 0)
print("grabbed", flush=True)
time.sleep(3600)
"""
BOSS_KEY_TAKEN = "老板键已被其他程序占用"


class BossKeyTakenTest(harness.ProgramTestCase):

    def start_program(self, suffix="", args=()):
        grabber = subprocess.Popen([sys.executable, "-c", GRABBER], env=self.display.environment(),
                                   start_new_session=True, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self.addCleanup(grabber.stdout.close)
        self.addCleanup(harness.stop_process, grabber)
        self.assertEqual(grabber.stdout.readline(), b"grabbed\n")
        super().start_program(suffix, args)

    def test_a_boss_key_another_program_holds_is_told_once(self):
        harness.wait_for(lambda: BOSS_KEY_TAKEN in self.program.log(), 30, "the notice that the key is taken")
        self.assertEqual(self.program.log().count(BOSS_KEY_TAKEN), 1)
        self.assert_alive()


class BossKeyFromSettingsTest(harness.ProgramTestCase):

    # The boss key the settings file names for each test.
    boss_keys = {"test_the_settings_file_names_another_boss_key": "<Control><Shift>F12",
                 "test_a_key_without_ctrl_alt_or_super_is_refused": "z"}

    def program_environment(self):
        env = super().program_environment()
        os.makedirs(os.path.join(env["XDG_CONFIG_HOME"], "ludex"), exist_ok=True)
        with open(os.path.join(env["XDG_CONFIG_HOME"], "ludex", "settings.ini"), "w") as f:
            f.write(f"[keys]\nboss={self.boss_keys[self._testMethodName]}\n")
        return env

    def test_a_key_without_ctrl_alt_or_super_is_refused(self):
        # It would take the letter from typing in every program.
        harness.wait_for(lambda: "老板键设置无效" in self.program.log(), 30, "the notice of a bad boss key")
        # The notice may have come first, as the window the harness found.
        main = harness.wait_for(lambda: next(iter(self.screen.search_visible_by_name("^星澜网页游戏中心$")), None), 30,
                                "the main window")
        self.screen.key("ctrl+alt+z")
        harness.wait_for(lambda: not self.screen.windows_of(self.program.pid), 20, "the windows hidden by Ctrl+Alt+Z")
        self.screen.key("ctrl+alt+z")
        harness.wait_for(lambda: main in self.screen.windows_of(self.program.pid), 20, "the main window back")

    def test_the_settings_file_names_another_boss_key(self):
        self.screen.key("ctrl+alt+z")
        self.screen.key("ctrl+shift+F12")
        harness.wait_for(lambda: not self.screen.windows_of(self.program.pid), 20, "the windows hidden by the new key")
        self.screen.key("ctrl+shift+F12")
        harness.wait_for(lambda: self.window in self.screen.windows_of(self.program.pid), 20, "the windows back")
        # Had Ctrl+Alt+Z, pressed first, hidden them, Ctrl+Shift+F12 would have brought them back. No notice
        # calls the key a bad one.
        self.assertNotIn("老板键", self.program.log())


class UnwritablePicturesTest(harness.ProgramTestCase):

    def program_environment(self):
        env = super().program_environment()
        env["XDG_PICTURES_DIR"] = os.path.join(self.folders, "pictures")
        os.makedirs(env["XDG_PICTURES_DIR"], exist_ok=True)
        # A file where the program's folder would go.
        with open(os.path.join(env["XDG_PICTURES_DIR"], "ludex"), "w") as f:
            f.write("not a folder")
        return env

    def test_a_folder_that_cannot_be_made_gives_a_notice(self):
        self.web.wait_for_path("/pre.php?r=3141_13_0", port=harness.REDIRECT_PORT)
        self.click_client(*pages.IN_BROWSER)
        self.screen.key("ctrl+shift+s")
        harness.wait_for(lambda: "截图未能保存" in self.program.log(), 30, "the notice that no screenshot was saved")
        self.assert_alive()


if __name__ == "__main__":
    harness.main()
