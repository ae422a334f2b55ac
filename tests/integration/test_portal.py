"""The demo portal, ludex-portal: its click-through, pages, login, guide and
404 over plain HTTP; a thousand requests in a row and a clean stop on
SIGTERM; and the game centre pointed at it through LUDEX_*_HOST, playing its
ten games, keeping a login over a restart, topping up in a pop-up, going
full screen and saving a guide."""

import http.client
import os
import re
import signal
import statistics
import subprocess
import time
import unittest
import urllib.parse

import harness
from portal import Portal, portal_path

# Number, name and the colour of the frame round the play area (#rrggbb of
# the portal's table, written out in decimal) of each game button in turn.
GAMES = [
    (13, "傲视天地", (208, 64, 32)),
    (66, "小小忍者", (32, 128, 208)),
    (65, "天地英雄", (224, 160, 32)),
    (42, "武林英雄", (48, 160, 80)),
    (64, "商业大亨", (128, 64, 192)),
    (30, "热血三国", (192, 32, 96)),
    (46, "武林三国", (32, 160, 160)),
    (43, "天策", (160, 96, 48)),
    (27, "英雄远征", (96, 112, 224)),
    (36, "洪荒神话", (64, 176, 224)),
]
GAME_13_HOW_TO = "用方向键或 WASD 控制神龙吃下灵珠，别撞到墙和自己。"

# Client pixels of the main window. JyxButtonN lies at (240 + 1440 (N - 1),
# 600) twips, 1215 x 375: 96 pixels apart from (16, 40), 81 x 25.
def game_button(n):
    return 16 + 96 * (n - 1) + 40, 40 + 12


# The browser's page starts 88 pixels down the client area. On the game page:
# the play area's 6-pixel frame (its canvas at page (16, 108)), the login
# badge, the login, top-up and guide buttons.
ON_FRAME = (16 + 3, 88 + 108 + 3)
BADGE = (16 + 8, 88 + 70 + 8)
LOGIN = (40 + 128 + 28, 88 + 66 + 12)
TOP_UP = (560 + 36, 88 + 64 + 14)
GUIDE = (640 + 40, 88 + 64 + 14)
FULL_SCREEN = (728 + 36, 88 + 64 + 14)
GUEST, MEMBER = (128, 128, 128), (32, 192, 96)
# The top-up pop-up: its background and its "30 元" button.
POP_UP_COLOUR = (244, 208, 96)
THIRTY_YUAN = (130 + 50, 120 + 24)
ON_CLOSE_GLYPH = (1028, 20)

REQUESTS = 1000


def title_of(page):
    return re.search(r"<title>(.*?)</title>", page).group(1)


class PortalServerTest(unittest.TestCase):
    """The portal alone, over HTTP."""

    def setUp(self):
        logs = os.path.join(harness.OUTPUT_DIR, "integration-logs")
        os.makedirs(logs, exist_ok=True)
        self.portal = Portal(os.path.join(logs, f"{self.id().split('.', 1)[1]}-portal.log")).__enter__()
        self.addCleanup(self.portal.__exit__, None, None, None)

    def get(self, variable, path, headers=None):
        """(status, headers, body text) of one GET on its own connection."""
        host, port = self.portal.hosts[variable].rsplit(":", 1)
        connection = http.client.HTTPConnection(host, int(port), timeout=10)
        try:
            connection.request("GET", path, headers=headers or {})
            response = connection.getresponse()
            return response.status, response.headers, response.read().decode("utf-8")
        finally:
            connection.close()

    def test_click_through_leads_to_each_game_page(self):
        for number, name, _ in GAMES:
            status, headers, _ = self.get("LUDEX_REDIRECT_HOST", f"/pre.php?r=3141_{number}_0")
            self.assertEqual((status, headers["Location"]), (302, f"/games/{number}.html"), name)
            status, headers, page = self.get("LUDEX_REDIRECT_HOST", f"/games/{number}.html")
            self.assertEqual(status, 200)
            self.assertEqual(headers["Content-Type"], "text/html; charset=utf-8")
            self.assertEqual(title_of(page), name)
            self.assertIn("玩法：", page)
            # Nothing is fetched from anywhere but the portal itself.
            directory = re.escape(self.portal.hosts["LUDEX_DIRECTORY_HOST"])
            self.assertNotRegex(page, rf"(src|href)=[\"']?(https?:)?//(?!{directory}/)")
        # The log comes through a pipe and a reader thread, which may lag behind the answers.
        redirects = lambda: len([r for r in self.portal.requests() if r.status == 302])
        harness.wait_for(lambda: redirects() >= 10, 10, "the ten click-throughs in the portal's log")
        self.assertEqual(redirects(), 10)

    def test_unknown_click_throughs_and_paths_get_the_chinese_404_page(self):
        for path in ("/pre.php?r=3141_99_0", "/pre.php?r=3141_13_1", "/pre.php?r=3141_013_0", "/pre.php?r=13",
                     "/pre.php", "/pre.php?r=", "/games/99.html", "/nothing"):
            status, headers, page = self.get("LUDEX_REDIRECT_HOST", path)
            self.assertEqual(status, 404, path)
            self.assertEqual(title_of(page), "404 - 页面不存在", path)
        status, _, _ = self.get("LUDEX_NEWS_HOST", "/games/13.html")
        self.assertEqual(status, 404)

    def test_every_request_is_logged_on_one_line(self):
        before = time.time()
        self.get("LUDEX_REDIRECT_HOST", "/pre.php?r=3141_65_0")
        request = self.portal.wait_for_request("LUDEX_REDIRECT_HOST", "/pre.php?r=3141_65_0", 302)
        self.assertEqual(request.method, "GET")
        logged = time.mktime(time.strptime(request.time[:19], "%Y-%m-%dT%H:%M:%S")) - time.timezone
        self.assertLess(abs(logged - before), 5, request)

    def test_news_and_directory_link_every_game_through_the_click_through(self):
        for variable, title in (("LUDEX_NEWS_HOST", "星澜游戏新闻"), ("LUDEX_DIRECTORY_HOST", "星澜网址导航")):
            status, _, page = self.get(variable, "/")
            self.assertEqual((status, title_of(page)), (200, title))
            for number, _, _ in GAMES:
                self.assertIn(self.portal.url("LUDEX_REDIRECT_HOST", f"/pre.php?r=3141_{number}_0"), page)

    def test_login_sets_a_cookie_whose_name_is_shown_as_text(self):
        name = "<b>李&白</b>"
        query = urllib.parse.urlencode({"game": 13, "name": f"  {name}  "})
        status, headers, _ = self.get("LUDEX_REDIRECT_HOST", f"/login?{query}")
        self.assertEqual((status, headers["Location"]), (302, "/games/13.html"))
        cookie = headers["Set-Cookie"]
        self.assertTrue(cookie.startswith("player=" + urllib.parse.quote(name, safe="") + ";"), cookie)
        self.assertIn("Max-Age=2592000", cookie)
        _, _, page = self.get("LUDEX_REDIRECT_HOST", "/games/13.html", {"Cookie": cookie.split(";")[0]})
        self.assertIn('<body class="member"', page)
        self.assertIn("欢迎，&lt;b&gt;李&amp;白&lt;/b&gt;", page)
        _, _, page = self.get("LUDEX_REDIRECT_HOST", "/games/13.html")
        self.assertIn('<body class="guest"', page)

    def test_guide_is_an_attachment_named_after_its_game(self):
        status, headers, text = self.get("LUDEX_REDIRECT_HOST", "/guide/13.txt")
        self.assertEqual(status, 200)
        self.assertEqual(headers["Content-Disposition"], "attachment; filename=\"guide-13.txt\"; filename*=UTF-8''"
                         + urllib.parse.quote("傲视天地攻略.txt"))
        self.assertTrue(text.startswith(f"《傲视天地》攻略\n\n玩法：{GAME_13_HOW_TO}\n"), text)

    def test_a_thousand_requests_in_a_row_then_sigterm(self):
        paths = [("LUDEX_REDIRECT_HOST", f"/pre.php?r=3141_{n}_0", 302) for n, _, _ in GAMES]
        paths += [("LUDEX_REDIRECT_HOST", f"/games/{n}.html", 200) for n, _, _ in GAMES]
        paths += [("LUDEX_NEWS_HOST", "/", 200), ("LUDEX_DIRECTORY_HOST", "/", 200),
                  ("LUDEX_REDIRECT_HOST", "/pre.php?r=3141_1_0", 404)]
        rss_before = resident_kib(self.portal.process.pid)
        times = []
        start = time.monotonic()
        for i in range(REQUESTS):
            variable, path, expected = paths[i % len(paths)]
            began = time.monotonic()
            status, _, _ = self.get(variable, path)
            times.append(time.monotonic() - began)
            self.assertEqual(status, expected, path)
        elapsed = time.monotonic() - start
        rss_after = resident_kib(self.portal.process.pid)
        harness.wait_for(lambda: len(self.portal.requests()) == REQUESTS, 10, "every request in the log")
        stopping = self.portal.stop()
        self.assertEqual(self.portal.process.returncode, 0)
        self.assertLess(stopping, 2)
        times.sort()
        print(f"\nportal: {REQUESTS} sequential requests in {elapsed:.2f} s, median "
              f"{statistics.median(times) * 1000:.2f} ms, 99th percentile {times[int(REQUESTS * 0.99)] * 1000:.2f} ms,"
              f" max {times[-1] * 1000:.2f} ms, no error; RSS {rss_before} -> {rss_after} KiB; "
              f"stopped {stopping * 1000:.0f} ms after SIGTERM with status 0", flush=True)

    def test_only_loopback_addresses_are_served(self):
        result = subprocess.run([portal_path(), "0.0.0.0:0", "127.0.0.1:0", "127.0.0.1:0"], capture_output=True,
                                timeout=30)
        self.assertEqual(result.returncode, 1)
        self.assertIn("0.0.0.0:0 is not a loopback address:port", result.stderr.decode())


def resident_kib(pid):
    with open(f"/proc/{pid}/status") as status:
        return int(next(line for line in status if line.startswith("VmRSS:")).split()[1])


class PortalGamesTest(harness.ProgramTestCase):
    """The game centre, built for other hosts, pointed at the portal by LUDEX_*_HOST."""

    @classmethod
    def start_web_server(cls):
        return Portal(os.path.join(cls.logs, f"{cls.__name__}-portal.log")).__enter__()

    def program_environment(self):
        return {**super().program_environment(), **self.web.environment()}

    def wait_for_game(self, number, name, colour):
        self.web.wait_for_request("LUDEX_REDIRECT_HOST", f"/games/{number}.html", 200)
        # The page's statistics report carries its title.
        self.web.wait_for_request("LUDEX_REDIRECT_HOST",
                                  f"/stat?game={number}&title={urllib.parse.quote(name, safe='')}", 204)
        self.screen.wait_for_pixel(*self.client_point(*ON_FRAME), lambda p: p == colour, timeout=30,
                                   what=f"the frame of {name}'s play area")

    def wait_for_badge(self, colour, what):
        self.screen.wait_for_pixel(*self.client_point(*BADGE), lambda p: p == colour, timeout=30, what=what)

    def other_windows(self):
        return {w: self.screen.title(w) for w in self.screen.windows_of(self.program.pid) if w != self.window}

    def window_titled(self, title):
        # A pop-up names the host of the page that opened it after its own title.
        return next((w for w, t in self.other_windows().items() if t == title or t.startswith(title + " — ")), None)

    def test_each_game_button_opens_its_game(self):
        self.wait_for_game(*GAMES[0])
        for button, (number, name, colour) in enumerate(GAMES, start=1):
            with self.subTest(name):
                self.web.clear_requests()
                self.click_client(*game_button(button))
                self.web.wait_for_request("LUDEX_REDIRECT_HOST", f"/pre.php?r=3141_{number}_0", 302)
                self.wait_for_game(number, name, colour)
                self.screen.wait_for_title(self.window, f"星澜游戏中心-{name}游戏中")
                if number == 64:
                    self.web.wait_for_request("LUDEX_DIRECTORY_HOST", "/ad.html", 200)
        self.assert_alive()

    def test_login_is_kept_after_a_restart(self):
        self.wait_for_game(*GAMES[0])
        self.wait_for_badge(GUEST, "the guest's badge")
        self.click_client(*LOGIN)
        query = urllib.parse.urlencode({"game": 13, "name": "星澜玩家"})
        self.web.wait_for_request("LUDEX_REDIRECT_HOST", f"/login?{query}", 302)
        self.wait_for_badge(MEMBER, "the member's badge")
        self.click_client(*ON_CLOSE_GLYPH)
        harness.wait_for(lambda: not self.program.alive(), 30, "the program to end")
        harness.wait_for(lambda: not harness.process_group_alive(self.program.pid), 30,
                         "the browser's processes to end with the program")

        self.web.clear_requests()
        self.start_program(suffix="-second-run")
        self.wait_for_game(*GAMES[0])
        self.wait_for_badge(MEMBER, "the member's badge after the restart")

    def test_top_up_pop_up_tells_its_opener(self):
        self.wait_for_game(*GAMES[0])
        self.click_client(*TOP_UP)
        # Its title is the page's, once the page is in.
        pop_up = harness.wait_for(lambda: self.window_titled("充值中心 - 傲视天地"), 30, "the top-up pop-up")
        x, y, _, _ = self.screen.geometry(pop_up)
        self.screen.wait_for_pixel(x + 10, y + 200, lambda p: p == POP_UP_COLOUR, timeout=30, what="the pop-up's page")
        self.screen.click(x + THIRTY_YUAN[0], y + THIRTY_YUAN[1])
        # The opener adds 30 yuan's 300 coins and tells its wallet.
        self.web.wait_for_request("LUDEX_REDIRECT_HOST", "/wallet?game=13&coins=300", 204)
        harness.wait_for(lambda: not self.other_windows(), 30, "the pop-up to close itself")

    def test_full_screen_button_and_esc(self):
        self.wait_for_game(*GAMES[0])
        geometry = self.screen.geometry(self.window)
        self.click_client(*FULL_SCREEN)
        screen = (0, 0, harness.SCREEN_WIDTH, harness.SCREEN_HEIGHT)
        harness.wait_for(lambda: self.screen.geometry(self.window) == screen, 30, "the game to cover the screen")
        self.screen.key("Escape")
        harness.wait_for(lambda: self.screen.geometry(self.window) == geometry, 30, f"the window back at {geometry}")


    def test_guide_is_saved_to_the_download_folder(self):
        self.wait_for_game(*GAMES[0])
        self.click_client(*GUIDE)
        path = os.path.join(self.program_environment()["XDG_DOWNLOAD_DIR"], "傲视天地攻略.txt")

        def saved():
            if not os.path.exists(path):
                return None
            with open(path, encoding="utf-8") as f:
                text = f.read()
            return text if text.endswith("星澜游戏中心 敬上\n") else None
        text = harness.wait_for(saved, 30, f"the guide at {path}")
        self.assertTrue(text.startswith(f"《傲视天地》攻略\n\n玩法：{GAME_13_HOW_TO}\n"), text)


if __name__ == "__main__":
    harness.main()
