"""Pages that fight the player: pop-up windows in a loop, alert() in a loop,
memory allocated without end, and attempts to show a local file. Through
each of them the program stays alive, its game buttons keep navigating, no
more than eight pop-up windows are open at once, and no local file appears
that the player did not type. An advertising frame of another site cannot
ask the player anything under the game's name. A web process worn by many
pages is replaced at the player's next load, and a page that asks before it
goes is asked."""

import os
import shutil
import signal
import tempfile
import time
import unittest

import harness
import pages
from harness import DIRECTORY_PORT, REDIRECT_PORT
from pages import PageServer, Response

HOSTILE_COLOUR = (120, 30, 60)
SECRET_COLOUR = (10, 220, 200)
SECRET_SHOWN_PATH = "/local-file-shown"
BUTTON3 = (208, 40, 81, 25)
GAME3_PATH = "/pre.php?r=3141_65_0"
GAME3_TITLE = "星澜游戏中心-天地英雄游戏中"
POPUP_NOTICE_TITLE = "已阻止弹出窗口"
DIALOG_TITLE = "网页消息"
# Dialogs a page may show before its further ones are answered unseen.
DIALOGS_SHOWN_PER_PAGE = 3
MAX_POPUPS = 8
# From the press of a game button to its request at the server, on a busy machine.
BUTTON_DEADLINE = 15
# The web process of a page that allocates without end must be stopped before
# it takes this much; past it the test stops the process itself, to spare the machine.
MEMORY_CEILING_KB = 4 * 1024 * 1024
# A web process this big is the page's.
HOG_SEEN_KB = 512 * 1024
# The crash notice's background.
NOTICE_BACKGROUND = (247, 247, 247)

# A click opens a burst of pop-ups; every pop-up runs the same page, so that
# each one tries to open more, without a click, as the opener goes on doing.
POPUP_LOOP_PAGE = pages.coloured_page("popups", HOSTILE_COLOUR, """<script>
let n = 0;
function burst() {
  for (let i = 0; i < 20; i++) window.open('/popup-loop?n=' + n++, '_blank', 'width=200,height=150');
}
fetch('/popup-loop-running');
burst();
setInterval(burst, 50);
document.addEventListener('click', burst);
</script>""")
# A click starts a tight loop that never returns: once the pop-ups are at
# their limit, window.open gives null at once and the loop spins.
POPUP_TIGHT_LOOP_PAGE = pages.coloured_page("tight", HOSTILE_COLOUR, """<script>
fetch('/tight-loop-running');
document.addEventListener('click', () => {
  for (;;) window.open('/quiet', '_blank', 'width=200,height=150');
});
</script>""")
ALERT_LOOP_PAGE = pages.coloured_page("alerts", HOSTILE_COLOUR, """<script>
let n = 0;
// A message of 3,000 characters without a space.
fetch('/alert-loop-running').then(() => { for (;;) alert('别走'.repeat(1500) + n++); });
</script>""")
ALERT_INTERVAL_PAGE = pages.coloured_page("alerts", HOSTILE_COLOUR, """<script>
let n = 0;
fetch('/alert-interval-running');
setInterval(() => { alert('别走 ' + n); fetch('/after-alert?n=' + n++); }, 20);
</script>""")
# A page whose pop-up asks the player something at once: the pop-up shares
# its opener's web process, which waits on the player with it.
ASKING_POP_UP_OPENER = pages.coloured_page("opener", HOSTILE_COLOUR, """<script>
document.addEventListener('click', () => window.open('/asking-pop-up', '_blank', 'left=900,top=750,width=300,height=200'));
</script>""")
ASKING_POP_UP = pages.coloured_page("asking", HOSTILE_COLOUR, """<script>
fetch('/pop-up-asking').then(() => { alert('请稍候'); fetch('/pop-up-answered'); });
</script>""")
# How long the program waits for a web process to take up a load (StuckPages::kPatienceMs).
STUCK_PATIENCE = 4
# An advertising frame of another site asks on its own, through a fresh frame and one nested in that (both
# of its origin), after trying to take back its own prompt(), and with the prompt() of a frame of its origin
# where scripts do not run, called on itself; it reports the answers, then lets the page ask.
ADVERT_QUESTIONS_PAGE = pages.coloured_page("advert", HOSTILE_COLOUR, """<script>
const fresh = document.body.appendChild(document.createElement('iframe')).contentWindow;
const nested = fresh.document.body.appendChild(fresh.document.createElement('iframe')).contentWindow;
const scriptless = document.createElement('iframe');
scriptless.sandbox = 'allow-same-origin';
document.body.append(scriptless);
const answers = new URLSearchParams({
  prompt: prompt('请输入QQ密码'), confirm: confirm('确定吗？'), fresh: fresh.prompt('请输入QQ密码'),
  nested: nested.confirm('确定吗？'), deleted: (delete window.prompt, prompt('请输入QQ密码')),
  borrowed: scriptless.contentWindow.prompt.call(window, '请输入QQ密码'),
});
fetch('/advert-answers?' + answers).then(() => parent.postMessage('asked', '*'));
</script>""")
# Each answered as cancelled, unseen.
ADVERT_ANSWERS = "/advert-answers?prompt=null&confirm=false&fresh=null&nested=false&deleted=null&borrowed=null"
QUESTIONS_PAGE = pages.coloured_page("questions", HOSTILE_COLOUR, """
<input type='file' style='display:block; width:100%; height:100%; opacity:0'>
<iframe src='ADVERT_QUESTIONS' style='display:none'></iframe><script>
// An address the program cannot parse as text, which once emptied the host shown.
history.replaceState(null, '', '?%00');
addEventListener('message', () => fetch('/questions-running').then(() => {
  fetch('/confirm?' + confirm('继续吗？'));
  fetch('/prompt?' + encodeURIComponent(prompt('你的名字', '玩家')));
  fetch('/prompt-again?' + encodeURIComponent(prompt('再说一次', '玩家')));
}));
</script>""")
MEMORY_HOG_PAGE = pages.coloured_page("hog", HOSTILE_COLOUR, """<script>
const kept = [];
fetch('/memory-hog-running');
// 32 MB every 50 ms, each byte written so that it counts.
setInterval(() => kept.push(new Float64Array(4 * 1024 * 1024).fill(Math.random())), 50);
</script>""")
# The same without ever giving the thread back, which WebKit's own check
# needs: 4 MB every 20 ms of busy waiting.
MEMORY_LOOP_PAGE = pages.coloured_page("hog", HOSTILE_COLOUR, """<script>
fetch('/memory-loop-running').then(() => {
  const kept = [];
  for (;;) {
    kept.push(new Float64Array(512 * 1024).fill(Math.random()));
    const until = Date.now() + 20;
    while (Date.now() < until) {}
  }
});
</script>""")
# A page that changes its own address, then is busy for longer than the
# stuck-page check's patience (4 s): no stuck load, as it never left.
BUSY_AFTER_PUSH_STATE_PAGE = pages.coloured_page("busy", HOSTILE_COLOUR, """<script>
fetch('/busy-running').then(() => {
  history.pushState({}, '', '/pushed');
  location.hash = 'moved';
  const end = Date.now() + 6000;
  while (Date.now() < end) {}
  // Then it spins as it is left.
  addEventListener('pagehide', () => { for (;;) {} });
  fetch('/busy-finished');
});
</script>""")
# Pages a web process shows before the player's next load goes to a fresh one
# (FreshProcess::kPagesPerProcess).
PAGES_PER_PROCESS = 30
# Page after page in one process, then a page that asks before it goes.
HOPPING_PAGE = pages.coloured_page("hops", HOSTILE_COLOUR, f"""<script>
const n = Number(location.search.slice(1));
location.replace(n < {PAGES_PER_PROCESS} ? '/hops?' + (n + 1) : '/asks-before-leaving');
</script>""")
ASKS_BEFORE_LEAVING_PAGE = pages.coloured_page("asks", HOSTILE_COLOUR, """<script>
addEventListener('beforeunload', (event) => { event.preventDefault(); event.returnValue = ''; });
fetch('/asks-before-leaving-running');
</script>""")
# 4 MB every 50 ms: slow enough that a once-a-second check stops it well short
# of the ceiling below, even on a busy machine.
SLOW_MEMORY_HOG_PAGE = MEMORY_HOG_PAGE.replace("4 * 1024 * 1024", "512 * 1024")
# A control group of this size gives a web process half of it, 1 GB; the
# program's other processes take a few hundred megabytes of the rest.
SMALL_MACHINE_BYTES = 2 * 1024 * 1024 * 1024
# Stopped at its limit, the page's process never gets this big; without the
# limit it grows until the kernel stops it at the group's end.
SMALL_MACHINE_CEILING_KB = 1600 * 1024
CGROUP_MEMORY = "/sys/fs/cgroup/memory"


def local_file_pages(secret_url):
    """Pages that try to leave for a local file in each way a page has, then
    report that they are still there."""
    still_here = "setTimeout(() => fetch('/still-here'), 1500);"
    targets = ["file:///etc/passwd", secret_url]
    return {
        "/by-location": pages.coloured_page("location", HOSTILE_COLOUR, f"""<script>
fetch('/attempt');
try {{ location.href = {targets[0]!r}; }} catch (e) {{}}
setTimeout(() => {{ try {{ location.href = {targets[1]!r}; }} catch (e) {{}} }}, 300);
{still_here}
</script>"""),
        "/by-meta-refresh": pages.coloured_page(
            "meta", HOSTILE_COLOUR,
            f"<meta http-equiv='refresh' content='0; url={targets[1]}'>"
            f"<script>fetch('/attempt'); {still_here}</script>"),
        "/by-meta-refresh-passwd": pages.coloured_page(
            "meta", HOSTILE_COLOUR,
            f"<meta http-equiv='refresh' content='0; url={targets[0]}'>"
            f"<script>fetch('/attempt'); {still_here}</script>"),
        "/by-window-open": pages.coloured_page("open", HOSTILE_COLOUR, f"""<script>
fetch('/attempt');
document.addEventListener('click', () => {{
  const opened = [window.open({targets[0]!r}, 'a', 'left=1,top=1,width=300,height=150'),
                  window.open({targets[1]!r}, 'b', 'left=1,top=300,width=300,height=150')];
  {still_here}
}});
</script>"""),
        # Links that fill the page, one in place and one in a window of its own.
        "/by-link": pages.coloured_page(
            "link", HOSTILE_COLOUR,
            f"<a href='{targets[1]}' style='display:block; width:100%; height:50%'>here</a>"
            f"<a href='{targets[1]}' target='_blank' style='display:block; width:100%; height:50%'>new</a>"
            f"<script>fetch('/attempt'); document.addEventListener('click', () => {{ {still_here} }});</script>"),
        "/by-link-passwd": pages.coloured_page(
            "link", HOSTILE_COLOUR,
            f"<a href='{targets[0]}' style='display:block; width:100%; height:50%'>here</a>"
            f"<a href='{targets[0]}' target='_blank' style='display:block; width:100%; height:50%'>new</a>"
            f"<script>fetch('/attempt'); document.addEventListener('click', () => {{ {still_here} }});</script>"),
    }


class HostilePageTest(harness.ProgramTestCase):

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        local = tempfile.mkdtemp(prefix="ludex-local-")
        cls.addClassCleanup(shutil.rmtree, local, ignore_errors=True)
        # A local page that, were it ever shown, would say so to the web server and fill the browser.
        secret = os.path.join(local, "secret.html")
        with open(secret, "w", encoding="utf-8") as f:
            f.write(pages.coloured_page("local secret", SECRET_COLOUR,
                                        f"<img src='http://127.0.0.1:{DIRECTORY_PORT}{SECRET_SHOWN_PATH}'>"))
        # Another site: another port.
        cls.advert = PageServer({"/asking": Response(ADVERT_QUESTIONS_PAGE)}).__enter__()
        cls.addClassCleanup(cls.advert.__exit__, None, None, None)
        cls.site = PageServer({
            "/popup-loop": Response(POPUP_LOOP_PAGE),
            "/tight-loop": Response(POPUP_TIGHT_LOOP_PAGE),
            "/quiet": Response(pages.coloured_page("quiet", HOSTILE_COLOUR)),
            "/alert-loop": Response(ALERT_LOOP_PAGE),
            "/alert-interval": Response(ALERT_INTERVAL_PAGE),
            "/questions": Response(QUESTIONS_PAGE.replace("ADVERT_QUESTIONS", cls.advert.url("/asking"))),
            "/asking-opener": Response(ASKING_POP_UP_OPENER),
            "/asking-pop-up": Response(ASKING_POP_UP),
            "/memory-hog": Response(MEMORY_HOG_PAGE),
            "/memory-loop": Response(MEMORY_LOOP_PAGE),
            "/busy": Response(BUSY_AFTER_PUSH_STATE_PAGE),
            "/hops": Response(HOPPING_PAGE),
            "/asks-before-leaving": Response(ASKS_BEFORE_LEAVING_PAGE),
            **{path: Response(page) for path, page in local_file_pages("file://" + secret).items()},
        }).__enter__()
        cls.addClassCleanup(cls.site.__exit__, None, None, None)

    def setUp(self):
        super().setUp()
        self.site.clear_requests()
        self.web.wait_for_path("/pre.php?r=3141_13_0", port=REDIRECT_PORT)

    def open_hostile(self, path, running, click=False):
        pages.load_in_browser(self, self.site.url(path))
        self.site.wait_for_path(running, timeout=30)
        if click:  # as a player would, once the page is there
            pages.browser_colour_is(self, HOSTILE_COLOUR, f"the page {path}")
            self.click_client(*pages.IN_BROWSER)

    def popups(self):
        """The program's visible windows other than the main window and its notice."""
        return [w for w in self.screen.windows_of(self.program.pid)
                if w != self.window and self.screen.title(w) != POPUP_NOTICE_TITLE]

    def assert_game_button_navigates(self):
        game = (REDIRECT_PORT, GAME3_PATH)
        before = self.web.requests().count(game)
        pressed_at = time.monotonic()
        self.click_client(*harness.centre(BUTTON3))
        harness.wait_for(lambda: self.web.requests().count(game) > before, BUTTON_DEADLINE,
                         "the game button's request at the server")
        print(f"\n  game button answered in {time.monotonic() - pressed_at:.2f} s")
        self.screen.wait_for_title(self.window, GAME3_TITLE)
        self.assert_alive()

    def assert_no_local_file_shown(self):
        self.assertNotIn((DIRECTORY_PORT, SECRET_SHOWN_PATH), self.web.requests())
        picture = self.screen.capture()
        for window in self.popups():
            self.assertFalse(self.screen.title(window).startswith(("local secret", "passwd", "/etc/passwd")))
            # A text file would show dark lines of text at the top left of the window.
            x, y, width, height = self.screen.geometry(window)
            self.assertNotIn(SECRET_COLOUR, [picture.pixel(x + 50, y + 50)])
            dark = [(px, py) for px in range(x, x + min(width, 200), 2) for py in range(y, y + min(height, 60), 2)
                    if max(picture.pixel(px, py)) < 128]
            self.assertEqual(dark, [], f"dark pixels in the pop-up at {x}, {y}")

    # Pop-ups.

    def test_popup_loop_stays_within_eight_windows_and_buttons_still_work(self):
        self.open_hostile("/popup-loop", "/popup-loop-running", click=True)
        harness.wait_for(lambda: len(self.popups()) >= MAX_POPUPS, 60, "the pop-ups to reach their limit")
        most = 0
        watch_until = time.monotonic() + 5
        while time.monotonic() < watch_until:
            most = max(most, len(self.popups()))
        self.assertEqual(most, MAX_POPUPS)
        # Hundreds of refusals, one line on stderr.
        refusals = [line for line in self.program.log().splitlines() if POPUP_NOTICE_TITLE in line]
        self.assertEqual(len(refusals), 1, refusals[:5])
        self.assert_game_button_navigates()
        self.assertLessEqual(len(self.popups()), MAX_POPUPS)

    def test_popup_tight_loop_leaves_the_buttons_working(self):
        self.open_hostile("/tight-loop", "/tight-loop-running", click=True)
        harness.wait_for(lambda: len(self.popups()) >= MAX_POPUPS, 60, "the pop-ups to reach their limit")
        self.assert_game_button_navigates()
        self.assertLessEqual(len(self.popups()), MAX_POPUPS)

    # Alerts.

    def dialogs(self):
        return [w for w in self.screen.windows_of(self.program.pid) if self.screen.title(w).startswith(DIALOG_TITLE)]

    def test_alert_loop_leaves_the_buttons_working(self):
        self.open_hostile("/alert-loop", "/alert-loop-running")
        dialog = harness.wait_for(lambda: next(iter(self.dialogs()), None), 30, "the page's first dialog")
        self.screen.screenshot(os.path.join(harness.OUTPUT_DIR, "screenshots", "alert-loop.png"))
        _, _, width, height = self.screen.geometry(dialog)
        self.assertLessEqual(width, harness.SCREEN_WIDTH, "the dialog, with its buttons, fits on the screen")
        self.assertLessEqual(height, harness.SCREEN_HEIGHT, "the dialog, with its buttons, fits on the screen")
        self.assert_game_button_navigates()
        pages.browser_colour_is(self, harness.PAGE_COLOURS[REDIRECT_PORT], "the game page in the browser")
        harness.wait_for(lambda: not self.dialogs(), 30, "the dialog to go with its page")

    def test_alert_interval_stops_asking_after_a_few_and_the_buttons_work(self):
        self.open_hostile("/alert-interval", "/alert-interval-running")
        for answered in range(DIALOGS_SHOWN_PER_PAGE):
            self.answer_dialog("Return")
            self.site.wait_for_path(f"/after-alert?n={answered}", timeout=30)
        # The page goes on, and its further alerts show nothing.
        self.site.wait_for_path("/after-alert?n=50", timeout=60)
        self.assertEqual(self.dialogs(), [])
        self.assert_game_button_navigates()

    def answer_dialog(self, *keys):
        dialog = harness.wait_for(lambda: next(iter(self.dialogs()), None), 30, "a dialog")
        # No window manager gives it the keyboard; the player would click it first.
        self.screen.xdotool("windowfocus", "--sync", dialog)
        self.screen.key(*keys)

    def test_confirm_and_prompt_get_the_players_answers(self):
        # The page asks once its advert has had its questions answered; shown, they would keep it waiting.
        self.open_hostile("/questions", "/questions-running")
        self.advert.wait_for_path(ADVERT_ANSWERS)
        # Each names the page's host, so that no page's question passes as the program's.
        dialog = harness.wait_for(lambda: next(iter(self.dialogs()), None), 30, "a dialog")
        self.assertEqual(self.screen.title(dialog), f"{DIALOG_TITLE} — 来自 127.0.0.1:{self.site.port}")
        self.answer_dialog("Return")
        self.site.wait_for_path("/confirm?true")
        self.answer_dialog("Return")
        self.site.wait_for_path("/prompt?%E7%8E%A9%E5%AE%B6")  # the suggested "玩家"
        self.answer_dialog("Escape")
        self.site.wait_for_path("/prompt-again?null")
        # A click anywhere on the page may open a file chooser: it names the site too.
        self.click_client(*pages.IN_BROWSER)
        harness.wait_for(lambda: self.screen.search_visible_by_name(f"^选择文件 — 来自 127.0.0.1:{self.site.port}$"),
                         30, "the file chooser naming the site")

    def test_a_dialog_in_a_pop_up_keeps_a_load_of_the_main_page_waiting_not_ended_as_stuck(self):
        self.open_hostile("/asking-opener", "/asking-opener", click=True)
        self.site.wait_for_path("/pop-up-asking")
        harness.wait_for(lambda: self.dialogs(), 30, "the pop-up's dialog")
        processes = set(pages.web_processes(self.program.pid))
        game = (REDIRECT_PORT, GAME3_PATH)
        self.click_client(*harness.centre(BUTTON3))
        # Well past the check's patience, twice over, the process and its question are still there.
        watch_until = time.monotonic() + 2.5 * STUCK_PATIENCE
        while time.monotonic() < watch_until:
            self.assertTrue(self.dialogs(), "the pop-up's dialog went while it waited on the player")
            self.assertEqual(set(pages.web_processes(self.program.pid)), processes, "a web process was ended")
        self.answer_dialog("Return")
        self.site.wait_for_path("/pop-up-answered")
        harness.wait_for(lambda: game in self.web.requests(), BUTTON_DEADLINE, "the game button's request")
        self.screen.wait_for_title(self.window, GAME3_TITLE)
        pages.browser_colour_is(self, harness.PAGE_COLOURS[REDIRECT_PORT], "the game page in the browser")
        self.assert_alive()

    def test_a_worn_web_process_is_replaced_at_the_next_load_once_the_page_agrees_to_go(self):
        self.open_hostile("/hops?0", "/asks-before-leaving-running")
        pages.browser_colour_is(self, HOSTILE_COLOUR, "the page that asks before it goes")
        worn = set(pages.web_processes(self.program.pid))
        # A page may only ask once the player has done something in it.
        self.click_client(*pages.IN_BROWSER)
        game = (REDIRECT_PORT, GAME3_PATH)
        self.click_client(*harness.centre(BUTTON3))
        self.answer_dialog("Escape")  # 留在此页
        harness.wait_for(lambda: not self.dialogs(), 30, "the question to go")
        self.click_client(*harness.centre(BUTTON3))
        self.answer_dialog("Return")  # 离开此页
        harness.wait_for(lambda: game in self.web.requests(), BUTTON_DEADLINE, "the game button's request")
        pages.browser_colour_is(self, harness.PAGE_COLOURS[REDIRECT_PORT], "the game page in the browser")
        harness.wait_for(lambda: not worn & set(pages.web_processes(self.program.pid)), 30,
                         "the worn web process to end")
        # Staying kept the page: the game was loaded once, after the player agreed to go.
        self.assertEqual(self.web.requests().count(game), 1)
        self.screen.wait_for_title(self.window, GAME3_TITLE)
        self.assert_alive()

    def test_worn_web_processes_replaced_one_after_another_are_no_crash_loop(self):
        # Three replacements within the ten seconds in which three crashes make a crash loop.
        started = time.monotonic()
        worn = set()
        for round_ in range(4):
            self.site.clear_requests()
            pages.load_in_browser(self, self.site.url("/hops?0"))
            self.site.wait_for_path("/asks-before-leaving-running", timeout=30)
            if round_:
                harness.wait_for(lambda: not worn & set(pages.web_processes(self.program.pid)), 30,
                                 f"the worn web process to end in round {round_ + 1}")
            worn = set(pages.web_processes(self.program.pid))
        self.assertLess(time.monotonic() - started, 10, "the replacements took too long to look like a loop")
        pages.browser_colour_is(self, HOSTILE_COLOUR, "the last page, no notice")

    def test_page_busy_after_push_state_is_left_alone_and_one_spinning_as_it_is_left_is_not(self):
        self.open_hostile("/busy", "/busy-running")
        process = set(pages.web_processes(self.program.pid))
        self.site.wait_for_path("/busy-finished", timeout=30)
        self.assertEqual(set(pages.web_processes(self.program.pid)), process, "the page's web process was ended")
        pages.browser_colour_is(self, HOSTILE_COLOUR, "the busy page still shown")
        # One press of a game button is enough to leave it.
        self.assert_game_button_navigates()
        pages.browser_colour_is(self, harness.PAGE_COLOURS[REDIRECT_PORT], "the game shown", timeout=BUTTON_DEADLINE)

    # Memory.

    def test_memory_hogs_are_stopped_and_the_window_answers(self):
        for hog_path in ("/memory-hog", "/memory-loop"):
            self.open_hostile(hog_path, hog_path + "-running")

            def growing():
                return next((pid for pid, rss in pages.web_processes(self.program.pid).items()
                             if rss > HOG_SEEN_KB), None)
            hog = harness.wait_for(growing, 60, f"the web process of {hog_path} to grow")

            def hog_stopped():
                rss = pages.web_processes(self.program.pid).get(hog)
                if rss is not None and rss > MEMORY_CEILING_KB:
                    os.kill(hog, signal.SIGKILL)
                    raise AssertionError(f"the web process of {hog_path} grew to {rss // 1024} MB, not stopped")
                return rss is None
            harness.wait_for(hog_stopped, 120, f"the web process of {hog_path} to be stopped")
            pages.browser_colour_is(self, NOTICE_BACKGROUND, "the notice in place of the page")
            self.assert_game_button_navigates()

    # Local files.

    def attempt_then_check(self, path, click=False):
        self.open_hostile(path, "/attempt")
        if click:
            pages.browser_colour_is(self, HOSTILE_COLOUR, f"the page {path}")
            self.click_client(500, 200)
            self.site.wait_for_path("/still-here", timeout=30)
            self.site.clear_requests()
            self.click_client(500, 500)
        self.site.wait_for_path("/still-here", timeout=30)
        pages.browser_colour_is(self, HOSTILE_COLOUR, f"the page {path} still shown")
        self.screen.screenshot(os.path.join(harness.OUTPUT_DIR, "screenshots", 
                                            f"local-file{path.replace('/', '-')}.png"))
        self.assert_no_local_file_shown()
        self.assert_game_button_navigates()
        self.assert_no_local_file_shown()

    def test_location_cannot_show_a_local_file(self):
        self.attempt_then_check("/by-location")

    def test_meta_refresh_cannot_show_a_local_file(self):
        self.attempt_then_check("/by-meta-refresh")

    def test_meta_refresh_cannot_show_the_password_file(self):
        self.attempt_then_check("/by-meta-refresh-passwd")

    def test_window_open_cannot_show_a_local_file(self):
        self.attempt_then_check("/by-window-open", click=True)

    def test_link_cannot_show_a_local_file(self):
        self.attempt_then_check("/by-link", click=True)

    def test_link_cannot_show_the_password_file(self):
        self.attempt_then_check("/by-link-passwd", click=True)


def remove_cgroup(folder):
    """Removes a control group once the processes in it have gone."""
    def removed():
        try:
            os.rmdir(folder)
            return True
        except OSError:
            return False
    harness.wait_for(removed, 30, f"the control group {folder} to empty")


class SmallMachineTest(harness.ProgramTestCase):
    """The program in a control group of 2 GB, as on a machine with that much memory."""

    @classmethod
    def setUpClass(cls):
        cls.program_cgroup = os.path.join(CGROUP_MEMORY, f"ludex-test-{os.getpid()}")
        try:
            os.mkdir(cls.program_cgroup)
        except OSError as error:
            raise unittest.SkipTest(f"no memory control group can be made here: {error}")
        cls.addClassCleanup(remove_cgroup, cls.program_cgroup)
        with open(os.path.join(cls.program_cgroup, "memory.limit_in_bytes"), "w") as f:
            f.write(str(SMALL_MACHINE_BYTES))
        super().setUpClass()
        cls.site = PageServer({"/memory-hog": Response(SLOW_MEMORY_HOG_PAGE)}).__enter__()
        cls.addClassCleanup(cls.site.__exit__, None, None, None)

    def test_memory_limit_is_half_of_a_small_machine(self):
        pages.load_in_browser(self, self.site.url("/memory-hog"))
        self.site.wait_for_path("/memory-hog-running", timeout=30)

        def growing():
            return next((pid for pid, rss in pages.web_processes(self.program.pid).items() if rss > HOG_SEEN_KB), None)
        hog = harness.wait_for(growing, 60, "the page's web process to grow")
        largest = 0

        def hog_stopped():
            nonlocal largest
            rss = pages.web_processes(self.program.pid).get(hog)
            largest = max(largest, rss or 0)
            return rss is None
        harness.wait_for(hog_stopped, 60, "the page's web process to be stopped")
        print(f"\n  the page's web process reached {largest // 1024} MB")
        self.assertLess(largest, SMALL_MACHINE_CEILING_KB)
        pages.browser_colour_is(self, NOTICE_BACKGROUND, "the notice in place of the page")
        self.assert_alive()


if __name__ == "__main__":
    harness.main()
