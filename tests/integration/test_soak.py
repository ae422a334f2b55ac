"""Long use of the real program through X input: two thousand presses of the
game buttons, typed addresses, clicks on the link labels and openings of the
about box. Afterwards the program still answers, its title names the last
game, every visit reached the web server in the order of the actions, and the
program's own memory grew little. Prints its figures for the CI log."""

import os
import random
import select
import subprocess
import time

import harness
from harness import DIRECTORY_PORT, NEWS_PORT, REDIRECT_PORT

ACTIONS = 2000
# Memory is compared from this action on, once start-up and the first pages
# have filled the caches that stay.
BASELINE_ACTION = 100
MAX_GROWTH_KIB = 20 * 1024
# For one action to reach the web server, or for the about box to come or go.
ACTION_TIMEOUT = 30
# Polling the request log and the title costs microseconds; each action should
# wait for its own effect and no longer.
QUICK_POLL = 0.002

START_PATH = "/pre.php?r=3141_13_0"
APP_TITLE = "星澜网页游戏中心"
BROWSING_TITLE = "星澜网页游戏-浏览网页中"

# Client-area rectangles (x, y, width, height) of the main window's controls, in pixels.
TEXT1 = (384, 8, 329, 18)
GO_BUTTON = (720, 8, 25, 17)
LABEL2 = (968, 72, 73, 17)
# The game buttons: place, the redirect server's path, the title afterwards.
GAMES = [
    ((16, 40, 81, 25), "/pre.php?r=3141_13_0", "星澜游戏中心-傲视天地游戏中"),
    ((112, 40, 81, 25), "/pre.php?r=3141_66_0", "星澜游戏中心-小小忍者游戏中"),
    ((208, 40, 81, 25), "/pre.php?r=3141_65_0", "星澜游戏中心-天地英雄游戏中"),
    ((304, 40, 81, 25), "/pre.php?r=3141_42_0", "星澜游戏中心-武林英雄游戏中"),
    ((400, 40, 81, 25), "/pre.php?r=3141_64_0", "星澜游戏中心-商业大亨游戏中"),
    ((496, 40, 81, 25), "/pre.php?r=3141_30_0", "星澜游戏中心-热血三国游戏中"),
    ((592, 40, 81, 25), "/pre.php?r=3141_46_0", "星澜游戏中心-武林三国游戏中"),
    ((688, 40, 81, 25), "/pre.php?r=3141_43_0", "星澜游戏中心-天策游戏中"),
    ((784, 40, 81, 25), "/pre.php?r=3141_27_0", "星澜游戏中心-英雄远征游戏中"),
    ((888, 40, 81, 25), "/pre.php?r=3141_36_0", "星澜游戏中心-洪荒神话游戏中"),
]
# The portal labels: place, the portal's port (its root is visited), the title afterwards.
PORTALS = {
    "Label4": ((768, 10, 41, 17), NEWS_PORT, "星澜游戏中心-浏览新闻中"),
    "Label5": ((816, 10, 49, 17), DIRECTORY_PORT, "星澜游戏中心-浏览网页中"),
}
# Client pixels of the about box: its title label, a click on which closes it.
ABOUT_TITLE_LABEL = (176, 16, 155, 32)
ABOUT_CAPTION = "关于"

# How often each kind of action comes, out of 100.
WEIGHTS = {"game": 55, "typed": 20, "portal": 15, "go": 5, "about": 5}


class Action:
    """One user action: what it is called in a failure message, the xdotool
    commands that perform it (in client pixels), the request it must cause (or
    None) and the title the window shows afterwards (None: unchanged)."""

    def __init__(self, name, commands, request, title):
        self.name = name
        self.commands = commands
        self.request = request
        self.title = title


def click_at(rect):
    # Not xdotool's "click", which sleeps a tenth of a second after it.
    x, y = harness.centre(rect)
    return [("mousemove", x, y), ("mousedown", 1), ("mouseup", 1)]


def plan(count, seed=20261208):
    """`count` actions in a mixed order that is the same on every run, ending
    with a game button."""
    rng = random.Random(seed)
    kinds, weights = zip(*WEIGHTS.items())
    actions = []
    typed = None
    while len(actions) < count - 1:
        kind = rng.choices(kinds, weights)[0]
        if kind == "game":
            rect, path, title = rng.choice(GAMES)
            actions.append(Action(f"game {path}", click_at(rect), (REDIRECT_PORT, path), title))
        elif kind == "typed":
            port = rng.choice((REDIRECT_PORT, NEWS_PORT, DIRECTORY_PORT))
            path = f"/typed/{len(actions)}"
            typed = (port, path)
            commands = click_at(TEXT1) + [("key", "--delay", 0, "ctrl+a"),
                                         ("type", "--delay", 0, f"127.0.0.1:{port}{path}"),
                                         ("key", "--delay", 0, "Return")]
            actions.append(Action(f"typed 127.0.0.1:{port}{path}", commands, typed, BROWSING_TITLE))
        elif kind == "go" and typed:
            # The go button sends the box's text again: the last typed address.
            actions.append(Action("go button", click_at(GO_BUTTON), typed, BROWSING_TITLE))
        elif kind == "portal":
            name = rng.choice(list(PORTALS))
            # Two clicks in a row on a label make a double-click, which is no
            # second Click. With a click on the address box between them they
            # are two clicks, however quick.
            if actions and actions[-1].name == name:
                continue
            rect, port, title = PORTALS[name]
            actions.append(Action(name, click_at(rect), (port, "/"), title))
        elif kind == "about":
            actions.append(Action("about box", click_at(LABEL2), None, None))
    rect, path, title = GAMES[len(actions) % len(GAMES)]
    actions.append(Action(f"game {path}", click_at(rect), (REDIRECT_PORT, path), title))
    return actions


class XdotoolSession:
    """One xdotool process that reads its commands from standard input, line
    by line: starting a process for every command would take longer than most
    of the program's answers."""

    def __init__(self, display, log_path):
        self._log = open(log_path, "wb")
        self._process = subprocess.Popen(["xdotool", "-"], env=display.environment(), stdin=subprocess.PIPE,
                                         stdout=subprocess.PIPE, stderr=self._log, start_new_session=True)
        self._pending = b""

    def close(self):
        self._process.stdin.close()
        harness.stop_process(self._process)
        self._process.stdout.close()
        self._log.close()

    def run(self, *commands):
        """Sends commands, each a tuple of words, without waiting for them."""
        if self._process.poll() is not None:
            raise AssertionError(f"xdotool ended with status {self._process.returncode}")
        text = "".join(" ".join(map(str, command)) + "\n" for command in commands)
        self._process.stdin.write(text.encode())
        self._process.stdin.flush()

    def ask(self, *command):
        """Runs one command that prints one line and returns that line."""
        self.run(command)
        deadline = time.monotonic() + ACTION_TIMEOUT
        while b"\n" not in self._pending:
            remaining = deadline - time.monotonic()
            ready, _, _ = select.select([self._process.stdout], [], [], max(remaining, 0))
            if not ready:
                raise AssertionError(f"xdotool did not answer {command} within {ACTION_TIMEOUT} s")
            chunk = os.read(self._process.stdout.fileno(), 4096)
            if not chunk:
                raise AssertionError(f"xdotool ended while answering {command}")
            self._pending += chunk
        line, _, self._pending = self._pending.partition(b"\n")
        return line.decode("utf-8", errors="replace")


def resident_kib(pid):
    """The process's resident set (VmRSS), in KiB."""
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    raise AssertionError(f"no VmRSS for process {pid}")


class SoakTest(harness.ProgramTestCase):

    def setUp(self):
        super().setUp()
        self.xdotool = XdotoolSession(self.display, os.path.join(self.logs, "SoakTest-xdotool.log"))
        self.addCleanup(self.xdotool.close)
        self.web.wait_for_path(START_PATH, timeout=ACTION_TIMEOUT, port=REDIRECT_PORT)
        self.screen.wait_for_title(self.window, APP_TITLE)

    def test_two_thousand_actions_keep_the_program_answering_in_bounded_memory(self):
        actions = plan(ACTIONS)
        expected_requests = [(REDIRECT_PORT, START_PATH)]
        title = APP_TITLE
        resident = {}
        started = time.monotonic()
        for number, action in enumerate(actions, start=1):
            self.perform(action, expected_requests)
            if action.request:
                expected_requests.append(action.request)
            title = action.title or title
            self.wait_for_title(title, f"action {number} ({action.name})")
            if number in (BASELINE_ACTION, ACTIONS):
                resident[number] = resident_kib(self.program.pid)
        elapsed = time.monotonic() - started
        growth = resident[ACTIONS] - resident[BASELINE_ACTION]
        print(f"\nsoak: {len(actions)} actions in {elapsed:.1f} s ({1000 * elapsed / len(actions):.0f} ms each); "
              f"ludex VmRSS {resident[BASELINE_ACTION] / 1024:.1f} MiB at action {BASELINE_ACTION}, "
              f"{resident[ACTIONS] / 1024:.1f} MiB at action {ACTIONS}, growth {growth / 1024:.1f} MiB", flush=True)

        # Still answering: one more press opens its game.
        rect, path, game_title = GAMES[2]
        self.perform(Action("a press after the soak", click_at(rect), (REDIRECT_PORT, path), game_title),
                     expected_requests)
        expected_requests.append((REDIRECT_PORT, path))
        self.wait_for_title(game_title, "the press after the soak")

        self.assertEqual(self.web.requests(), expected_requests, "the visits, in the order of the actions")
        self.assertLess(growth, MAX_GROWTH_KIB, f"VmRSS growth from action {BASELINE_ACTION} to {ACTIONS}, KiB")

    def perform(self, action, earlier_requests):
        """Performs an action and waits for its effect: its request after
        the earlier ones, or the about box opened and closed again."""
        self.xdotool.run(*self.in_client(action.commands))
        if action.request:
            self.wait_for_request(len(earlier_requests), action)
        else:
            self.open_and_close_about_box()
        self.assert_alive()

    def in_client(self, commands):
        return [("mousemove", *self.client_point(*words[1:])) if words[0] == "mousemove" else words
                for words in commands]

    def wait_for_request(self, index, action):
        deadline = time.monotonic() + ACTION_TIMEOUT
        while len(requests := self.web.requests()) <= index:
            if time.monotonic() > deadline:
                raise AssertionError(f"timed out after {ACTION_TIMEOUT} s waiting for the request of {action.name}; "
                                     f"the last requests: {requests[-5:]}")
            time.sleep(QUICK_POLL)
        self.assertEqual(requests[index], action.request, f"the request of {action.name}")

    def wait_for_title(self, title, what):
        deadline = time.monotonic() + ACTION_TIMEOUT
        while (shown := self.xdotool.ask("getwindowname", self.window)) != title:
            if time.monotonic() > deadline:
                raise AssertionError(f"after {what} the title is {shown!r}, not {title!r}")
            time.sleep(QUICK_POLL)

    def about_boxes(self):
        result = subprocess.run(["xdotool", "search", "--all", "--onlyvisible", "--pid", str(self.program.pid),
                                 "--name", f"^{ABOUT_CAPTION}$"],
                                env=self.display.environment(), capture_output=True, timeout=30)
        return [int(line) for line in result.stdout.split()]

    def open_and_close_about_box(self):
        box = harness.wait_for(lambda: next(iter(self.about_boxes()), None), ACTION_TIMEOUT, "the about box")
        left, top = self.screen.geometry(box)[:2]
        x, y = harness.centre(ABOUT_TITLE_LABEL)
        self.xdotool.run(("mousemove", left + x, top + y), ("mousedown", 1), ("mouseup", 1))
        harness.wait_for(lambda: not self.about_boxes(), ACTION_TIMEOUT, "the about box to close")


if __name__ == "__main__":
    harness.main()
