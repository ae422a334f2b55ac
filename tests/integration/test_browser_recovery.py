"""When things go wrong in the browser. A certificate that fails the checks
gives a Chinese error page naming the host and the problem, never the page.
A web process that crashes or is killed gives a notice with a reload link
within two seconds, while the window goes on answering; the link brings the
page back. A view whose web processes end three times within ten seconds
is left with a notice that says the program stopped reloading."""

import os
import shutil
import signal
import tempfile
import time

import assistive
import desktop
import harness
import pages
from pages import PageServer, Response

GAME_COLOUR = (150, 50, 90)
SECRET_COLOUR = (10, 200, 10)
# The notice and error pages' background.
NOTICE_BACKGROUND = (247, 247, 247)
NOTICE_WITHIN = 2.0  # seconds
# Terminations within CRASH_LOOP_SECONDS that end the program's reloading.
CRASH_LOOP = 3
CRASH_LOOP_SECONDS = 10
CRASH_LOOP_TEXT = "多次退出"
# Seconds a web process has run when it has shown its page (a notice is small).
SETTLED = 1.0


class RecoveryTest(harness.ProgramTestCase):

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.bus = assistive.SessionBus(os.path.join(cls.logs, f"{cls.__name__}-dbus.log")).__enter__()
        cls.addClassCleanup(cls.bus.__exit__, None, None, None)
        certificates = tempfile.mkdtemp(prefix="ludex-certificate-")
        cls.addClassCleanup(shutil.rmtree, certificates, ignore_errors=True)
        # Signed by nobody trusted; the second has also expired.
        cls.secure, cls.expired = (PageServer({"/secret": Response(pages.coloured_page("secret", SECRET_COLOUR))},
                                              certificate=pages.self_signed_certificate(certificates, days)).__enter__()
                                   for days in (2, -1))
        cls.addClassCleanup(cls.secure.__exit__, None, None, None)
        cls.addClassCleanup(cls.expired.__exit__, None, None, None)
        cls.site = PageServer({"/game": Response(pages.coloured_page("game", GAME_COLOUR))}).__enter__()
        cls.addClassCleanup(cls.site.__exit__, None, None, None)

    def setUp(self):
        super().setUp()
        self.pixels = desktop.ScreenPixels(self.display)
        self.addCleanup(self.pixels.close)

    def program_environment(self):
        return {**super().program_environment(), **self.bus.environment()}

    def page_texts(self):
        """The names and texts of everything in the program's accessible objects."""
        objects = assistive.accessible_objects(self.display.environment(self.bus.environment()), self.program.pid)
        return objects, " ".join(o["name"] + " " + o.get("text", "") for o in objects)

    def browser_pixel(self):
        return self.pixels.grab(*self.client_point(*pages.IN_BROWSER), 1, 1).pixel(0, 0)

    def test_certificate_error_page_names_the_host_and_the_problem(self):
        for server, problems in ((self.secure, ["证书不是由受信任的机构颁发的"]),
                                 (self.expired, ["证书不是由受信任的机构颁发的", "证书已过期"])):
            pages.load_in_browser(self, server.url("/secret"))
            pages.browser_colour_is(self, NOTICE_BACKGROUND, "the error page")

            def error_page():
                texts = self.page_texts()[1]
                return texts if all(text in texts for text in ["无法安全地连接到", *problems]) else None
            texts = harness.wait_for(error_page, 60, f"the error page naming {problems}")
            self.assertIn("无法安全地连接到 127.0.0.1", texts)
            self.assertIn(server.url("/secret"), texts)
            # The page behind the certificate was never shown.
            self.assertEqual(server.paths(), [])
            self.assertNotEqual(self.browser_pixel(), SECRET_COLOUR)

    def test_killed_web_process_gives_a_notice_and_its_link_reloads(self):
        pages.load_in_browser(self, self.site.url("/game"))
        pages.browser_colour_is(self, GAME_COLOUR, "the game page")
        victims = pages.web_processes(self.program.pid)
        self.assertTrue(victims, "no web process found")
        killed_at = time.monotonic()
        for pid in victims:
            os.kill(pid, signal.SIGKILL)
        harness.wait_for(lambda: self.browser_pixel() == NOTICE_BACKGROUND, 10, "the crash notice")
        latency = time.monotonic() - killed_at
        print(f"\ncrash notice shown {latency:.2f} s after the web process was killed")
        self.assertLess(latency, NOTICE_WITHIN)

        # The window goes on answering: its page's link takes a click below.
        self.assert_alive()
        objects = harness.wait_for(lambda: (lambda o: o if [x for x in o if x["name"] == "重新加载"] else None)(
            self.page_texts()[0]), 60, "the reload link")
        self.assertIn("网页已停止运行", " ".join(o["name"] + o.get("text", "") for o in objects))
        link = next(o for o in objects if o["name"] == "重新加载")
        x, y, width, height = link["extents"]
        self.site.clear_requests()
        self.screen.click(x + width // 2, y + height // 2)
        self.site.wait_for_path("/game")
        pages.browser_colour_is(self, GAME_COLOUR, "the game page again")

    def test_three_terminations_within_ten_seconds_end_the_reloading(self):
        pages.load_in_browser(self, self.site.url("/game"))
        pages.browser_colour_is(self, GAME_COLOUR, "the game page")
        killed = set()
        started = time.monotonic()
        for _ in range(CRASH_LOOP):
            # The process showing the page, or the notice that took its place, once it has
            # settled: WebKit gives up on a sandboxed process that ends before it says who it is.
            victims = harness.wait_for(lambda: {pid for pid in set(pages.web_processes(self.program.pid)) - killed
                                                if pages.process_age(pid) > SETTLED}, 10, "a web process to kill")
            for pid in victims:
                os.kill(pid, signal.SIGKILL)
            killed |= victims
            harness.wait_for(lambda: self.browser_pixel() == NOTICE_BACKGROUND, 10, "a notice")
        self.assertLess(time.monotonic() - started, CRASH_LOOP_SECONDS, "the kills took too long to make a loop")
        harness.wait_for(lambda: CRASH_LOOP_TEXT in assistive.texts_when_readable(
            self.display.environment(self.bus.environment()), self.program.pid), 60, "the crash-loop notice")
        self.assert_alive()


if __name__ == "__main__":
    harness.main()
