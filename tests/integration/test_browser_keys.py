"""The browser's keys and mouse buttons, acting on the page that has the
keyboard: Ctrl+plus, Ctrl+minus, Ctrl+0 and Ctrl+wheel zoom, and the zoom is
kept for the page's host in the settings file; Alt+Left, Alt+Right and mouse
buttons 8 and 9 go back and forward; F5 loads again; Ctrl+M mutes every page
and is kept. A damaged settings file gives the defaults and stays as it is."""

import glob
import io
import math
import os
import re
import struct
import urllib.parse
import wave

import harness
import pages
from pages import PageServer, Response

FIRST_COLOUR = (180, 30, 30)
SECOND_COLOUR = (30, 30, 180)
# The browser is 1049 pixels wide; the page's width in CSS pixels is that over the zoom.
WIDTH_AT_100 = 1049
# A point of the main browser that the sound page's pop-up window, centred on it, leaves free.
BESIDE_POPUP = (150, 400)
# Reports its width whenever it changes.
ZOOM_PAGE = pages.coloured_page("zoom", FIRST_COLOUR, """<script>
let reported = 0;
setInterval(() => { if (innerWidth !== reported) { reported = innerWidth; fetch('/width?w=' + reported); } }, 50);
</script>""")


# Reports that it runs, then its script never returns.
SPINNING_PAGE = pages.coloured_page("spinning", SECOND_COLOUR,
                                    "<script>fetch('/spinning-running').then(() => { for (;;) {} });</script>")
# From a key on a stuck page to the load it asked for: the stuck-page patience (4 s) and a busy machine.
STUCK_KEY_DEADLINE = 15


# Plays a tone by itself, reports whether it was let, and, clicked first, opens a
# pop-up window that does the same.
SOUND_PAGE = pages.coloured_page("sound", FIRST_COLOUR, """<audio id="tone" src="/tone.wav" loop></audio><script>
document.getElementById('tone').play().then(() => fetch('/played?by=' + location.search),
                                           e => fetch('/refused?by=' + location.search + '&e=' + e.name));
if (!location.search) document.addEventListener('click', () => window.open('/sound?popup', '', 'width=300,height=200'), {once: true});
</script>""")
# A settings file GLib's key file reader refuses (a group heading never
# closed); read, it would mute the pages and zoom 127.0.0.1 to 200 %.
DAMAGED_SETTINGS = b"[sound\nmuted=true\n[zoom]\n127.0.0.1=2\n"
WEBGL_PAGE = pages.coloured_page("webgl", FIRST_COLOUR, """<script>
fetch('/webgl?' + (document.createElement('canvas').getContext('webgl') ? 'on' : 'off'));
</script>""")


def tone():
    """One second of a 440 Hz sine as a WAV file."""
    data = io.BytesIO()
    with wave.open(data, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(8000)
        w.writeframes(b"".join(struct.pack("<h", int(12000 * math.sin(2 * math.pi * 440 * i / 8000)))
                               for i in range(8000)))
    return data.getvalue()


def widths(level):
    """The page widths a zoom level may give: 1049 / level, cut or rounded."""
    exact = WIDTH_AT_100 / level
    return {int(exact), round(exact)}


class BrowserKeysTest(harness.ProgramTestCase):

    # What a test finds in the settings file when the program starts.
    settings_at_start = {
        "test_ctrl_m_mutes_every_page_and_is_kept_and_a_damaged_settings_file_is_left_alone": DAMAGED_SETTINGS,
        "test_a_bad_webgl_value_is_told_and_gives_webgl_only_with_a_graphics_processor": b"[web]\nwebgl=yes\n",
        "test_webgl_on_gives_pages_webgl_on_any_machine": b"[web]\nwebgl=on\n"}

    def setUp(self):
        self.site = PageServer({
            "/zoom": Response(ZOOM_PAGE),
            "/width": Response("", "text/plain"),
            "/sound": Response(SOUND_PAGE),
            "/tone.wav": Response(tone(), "audio/wav"),
            "/played": Response("", "text/plain"),
            "/refused": Response("", "text/plain"),
            "/first": Response(pages.coloured_page("first", FIRST_COLOUR)),
            "/second": Response(pages.coloured_page("second", SECOND_COLOUR)),
            "/webgl-page": Response(WEBGL_PAGE),
            "/webgl": Response("", "text/plain"),
            "/spinning": Response(SPINNING_PAGE),
            "/spinning-running": Response("", "text/plain"),
        }).__enter__()
        self.addCleanup(self.site.__exit__, None, None, None)
        super().setUp()

    def program_environment(self):
        env = super().program_environment()
        # The views' sound is seen in the web diagnostics alone: no script sees the mute.
        env["LUDEX_DEBUG"] = "web"
        settings = self.settings_at_start.get(self._testMethodName)
        # Only for the first start: a restart finds what the program left.
        if settings is not None and not os.path.exists(self.settings_path()):
            os.makedirs(os.path.dirname(self.settings_path()), exist_ok=True)
            with open(self.settings_path(), "wb") as f:
                f.write(settings)
        return env

    def settings_path(self):
        return os.path.join(self.folders, "config", "ludex", "settings.ini")

    def settings(self):
        """The settings file's lines but the empty ones, or None when there is no file."""
        if not os.path.exists(self.settings_path()):
            return None
        with open(self.settings_path(), encoding="utf-8") as f:
            return [line for line in f.read().splitlines() if line]

    def expect_settings(self, lines, what):
        harness.wait_for(lambda: self.settings() == lines, 10, f"{what} (the file holds {self.settings()})")

    def views_sound(self):
        """What the log says last of each view's sound: its address to "playing audio, muted" and the like."""
        return dict(re.findall(r"ludex-web-DEBUG: [0-9:.]+: view (0x[0-9a-f]+): (.+)$", self.program.log(), re.M))

    def open_sound_page(self):
        pages.load_in_browser(self, self.site.url("/sound"))
        pages.browser_colour_is(self, FIRST_COLOUR, "the sound page")
        self.click_client(*BESIDE_POPUP)

    def expect_views(self, count, state, what):
        harness.wait_for(lambda: len(self.views_sound()) == count and set(self.views_sound().values()) == {state},
                         30, f"{what} (the views: {self.views_sound()})")

    def notices(self):
        return [self.screen.title(w) for w in self.screen.windows_of(self.program.pid) if w != self.window]

    def expect_notice(self, title):
        harness.wait_for(lambda: title in self.notices(), 20, f"the notice {title!r} (shown: {self.notices()})")

    def focus_page(self):
        self.click_client(*pages.IN_BROWSER)

    def reported_widths(self):
        return [int(urllib.parse.parse_qs(urllib.parse.urlsplit(path).query)["w"][0])
                for path in self.site.paths() if path.startswith("/width")]

    def expect_width(self, allowed, what):
        harness.wait_for(lambda: self.reported_widths() and self.reported_widths()[-1] in allowed, 20,
                         f"the page {allowed} wide {what} (reported: {self.reported_widths()})")

    def test_zoom_keys_and_ctrl_wheel(self):
        pages.load_in_browser(self, self.site.url("/zoom"))
        pages.browser_colour_is(self, FIRST_COLOUR, "the page")
        self.focus_page()
        self.expect_width({WIDTH_AT_100}, "at 100 %")
        self.screen.key("ctrl+plus")
        self.expect_width(widths(1.1), "at 110 %")
        self.screen.key("ctrl+plus")
        self.expect_width(widths(1.25), "at 125 %")
        self.screen.key("ctrl+0")
        self.expect_width({WIDTH_AT_100}, "back at 100 %")
        self.screen.key("ctrl+minus")
        self.expect_width(widths(0.9), "at 90 %")
        self.screen.xdotool("keydown", "ctrl", "click", 4, "keyup", "ctrl")
        self.expect_width({WIDTH_AT_100}, "at 100 % after Ctrl+wheel up")
        self.screen.xdotool("keydown", "ctrl", "click", 4, "keyup", "ctrl")
        self.expect_width(widths(1.1), "at 110 % after Ctrl+wheel up")
        self.screen.xdotool("keydown", "ctrl", "click", 5, "keyup", "ctrl")
        self.expect_width({WIDTH_AT_100}, "at 100 % after Ctrl+wheel down")

    def test_zoom_is_kept_for_the_site_after_a_restart(self):
        pages.load_in_browser(self, self.site.url("/zoom"))
        pages.browser_colour_is(self, FIRST_COLOUR, "the page")
        self.focus_page()
        self.screen.key("ctrl+plus", "ctrl+plus")
        self.expect_width(widths(1.25), "at 125 %")
        self.expect_settings(["[zoom]", "127.0.0.1=1.25"], "the zoom kept for the host")
        # The same server under another host name is another site.
        other_host = self.site.url("/zoom").replace("127.0.0.1", "localhost")
        pages.load_in_browser(self, other_host)
        self.site.wait_for_request(lambda path, headers: path == "/zoom" and headers.get("Host", "").startswith("localhost"),
                                   20, "the page under localhost")
        self.expect_width({WIDTH_AT_100}, "at 100 % under another host")
        self.program.stop()
        self.site.clear_requests()
        self.start_program("-again")
        pages.load_in_browser(self, self.site.url("/zoom"))
        self.expect_width(widths(1.25), "at 125 % after the restart, with no key pressed")
        self.focus_page()
        self.screen.key("ctrl+0")
        self.expect_width({WIDTH_AT_100}, "back at 100 %")
        # 100 % is every site's without asking: nothing is left to keep.
        self.expect_settings([], "the host's zoom gone from the file")

    def test_ctrl_m_mutes_every_page_and_is_kept_and_a_damaged_settings_file_is_left_alone(self):
        # The program starts with a damaged settings file that says "muted": one notice, and the defaults.
        self.expect_notice("设置文件无法读取")
        self.open_sound_page()
        # Pages start their sound by themselves, in the pop-up window too.
        self.site.wait_for_path("/played?by=")
        self.site.wait_for_path("/played?by=?popup")
        self.expect_views(2, "playing audio, heard", "the page and its pop-up playing, heard")
        with open(self.settings_path(), "rb") as f:
            self.assertEqual(f.read(), DAMAGED_SETTINGS, "the damaged file changed before any setting did")
        self.assertEqual(self.program.log().count("ludex: 设置文件无法读取"), 1)
        self.click_client(*BESIDE_POPUP)
        self.screen.key("ctrl+m")
        self.expect_notice("已静音")
        self.expect_views(2, "playing audio, muted", "both muted")
        # The first change replaces the damaged file, with that change alone.
        self.expect_settings(["[sound]", "muted=true"], "the mute kept")
        self.program.stop()
        self.start_program("-again")
        self.open_sound_page()
        self.expect_views(2, "playing audio, muted", "the page and its pop-up muted from the start")
        # Ctrl+M is the program's, whichever of its widgets has the keyboard: here the address box.
        self.click_client(*harness.centre(pages.TEXT1))
        self.screen.key("ctrl+m")
        self.expect_notice("已取消静音")
        self.expect_views(2, "playing audio, heard", "both heard again")
        self.expect_settings(["[sound]", "muted=false"], "the sound kept")
        self.assertNotIn("/refused", " ".join(self.site.paths()))
        self.assertNotIn("设置文件无法读取", self.program.log())

    def webgl_of_a_page(self):
        pages.load_in_browser(self, self.site.url("/webgl-page"))
        path, _ = self.site.wait_for_request(lambda p, _: p.startswith("/webgl?"), 30, "the page's WebGL report")
        return path.split("?")[1]

    def test_a_bad_webgl_value_is_told_and_gives_webgl_only_with_a_graphics_processor(self):
        self.expect_notice("网页图形设置无效")
        # Without a render node to open, WebGL would run on the processor, slower than a game's 2D canvas.
        graphics_processor = any(os.access(node, os.R_OK | os.W_OK) for node in glob.glob("/dev/dri/renderD*"))
        self.assertEqual(self.webgl_of_a_page(), "on" if graphics_processor else "off")

    def test_webgl_on_gives_pages_webgl_on_any_machine(self):
        self.assertEqual(self.webgl_of_a_page(), "on")
        self.assertNotIn("网页图形设置无效", self.program.log())

    def test_boss_key_silences_every_page_and_gives_each_its_sound_back(self):
        self.open_sound_page()
        self.site.wait_for_path("/played?by=?popup")
        self.expect_views(2, "playing audio, heard", "the page and its pop-up playing")
        for before in ("heard", "muted"):
            self.screen.key("ctrl+alt+z")
            harness.wait_for(lambda: not self.screen.windows_of(self.program.pid), 20, "the windows hidden")
            self.expect_views(2, "playing audio, muted", f"both silent while hidden ({before} before)")
            self.screen.key("ctrl+alt+z")
            harness.wait_for(lambda: self.window in self.screen.windows_of(self.program.pid), 20, "the windows back")
            self.expect_views(2, f"playing audio, {before}", f"both {before} again")
            if before == "heard":
                # Hiding is no mute of the player's: the settings are left alone.
                self.assertIsNone(self.settings())
                self.click_client(*BESIDE_POPUP)
                self.screen.key("ctrl+m")
                self.expect_views(2, "playing audio, muted", "both muted by Ctrl+M")
        self.expect_settings(["[sound]", "muted=true"], "the player's mute kept as it was")

    def test_keys_in_the_address_box_leave_the_page_alone(self):
        pages.load_in_browser(self, self.site.url("/zoom"))
        pages.browser_colour_is(self, FIRST_COLOUR, "the page")
        self.expect_width({WIDTH_AT_100}, "at 100 %")
        # The address box keeps the keyboard after Return; the Return that
        # follows loads the page a second time, after the keys before it were handled.
        self.screen.key("ctrl+plus", "F5", "Return")
        harness.wait_for(lambda: self.reported_widths().count(WIDTH_AT_100) == 2, 20,
                         "the page loaded again by Return")
        self.assertEqual(self.site.paths().count("/zoom"), 2)
        self.assertEqual(set(self.reported_widths()), {WIDTH_AT_100})

    def test_back_forward_and_reload(self):
        pages.load_in_browser(self, self.site.url("/first"))
        pages.browser_colour_is(self, FIRST_COLOUR, "the first page")
        pages.load_in_browser(self, self.site.url("/second"))
        pages.browser_colour_is(self, SECOND_COLOUR, "the second page")
        self.focus_page()
        self.screen.key("alt+Left")
        pages.browser_colour_is(self, FIRST_COLOUR, "the first page after Alt+Left")
        self.screen.key("alt+Right")
        pages.browser_colour_is(self, SECOND_COLOUR, "the second page after Alt+Right")
        self.click_client(*pages.IN_BROWSER, button=8)
        pages.browser_colour_is(self, FIRST_COLOUR, "the first page after the back button")
        self.click_client(*pages.IN_BROWSER, button=9)
        pages.browser_colour_is(self, SECOND_COLOUR, "the second page after the forward button")
        self.site.clear_requests()
        self.screen.key("F5")
        self.site.wait_for_path("/second")
        pages.browser_colour_is(self, SECOND_COLOUR, "the second page reloaded")
        # None of it touched the main window.
        self.assertEqual(self.screen.title(self.window), "星澜网页游戏-浏览网页中")

        # On a page whose script never returns, the keys end its web process and go on in a fresh one.
        for key, path in (("alt+Left", "/second"), ("F5", "/spinning")):
            self.site.clear_requests()
            pages.load_in_browser(self, self.site.url("/spinning"))
            self.site.wait_for_path("/spinning-running")
            self.focus_page()
            stuck = set(pages.web_processes(self.program.pid))
            self.site.clear_requests()
            self.screen.key(key)
            self.site.wait_for_path(path, timeout=STUCK_KEY_DEADLINE)
            harness.wait_for(lambda: not stuck & set(pages.web_processes(self.program.pid)), STUCK_KEY_DEADLINE,
                             f"the stuck page's web process to end after {key}")


if __name__ == "__main__":
    harness.main()
