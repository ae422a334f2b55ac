"""Switching games, the player's most frequent act.

Latency: the program starts on a page of the benchmark's own; then raw
presses (XTest) on the ten game buttons in turn, each timed from the press
to the game's request at the loopback page server and to the first moment
the game's own colour is on the screen inside the browser. The yardstick is
surf loading the same kind of page from its command line: from its window
mapped, and from its request, to the colour on the screen.

An evening of play: the program against the demo portal (ludex-portal),
switching games again and again, each game left to run for a moment after
its page was served; PSS of the whole process tree and the number of
WebKit web processes alive at the checkpoints."""

import os
import threading
import time
import urllib.parse

import process_tree
from harness import REDIRECT_PORT, Program, Screen, centre, wait_for
from pages import IN_BROWSER, WEB_PROCESS_NAME, PageServer, Response, coloured_page
from portal import Portal
from x_input import XInput

# Client rectangles of the ten game buttons and the catalogue numbers they open.
GAME_BUTTONS = [
    ((16, 40, 81, 25), 13), ((112, 40, 81, 25), 66), ((208, 40, 81, 25), 65), ((304, 40, 81, 25), 42),
    ((400, 40, 81, 25), 64), ((496, 40, 81, 25), 30), ((592, 40, 81, 25), 46), ((688, 40, 81, 25), 43),
    ((784, 40, 81, 25), 27), ((888, 40, 81, 25), 36),
]
# The built-in start page is the first game's.
START_NUMBER = GAME_BUTTONS[0][1]
TIMEOUT = 30
PAINT_TIMEOUT = 10
# How long each game of the evening runs after its page was served.
PLAY_SECONDS = 0.3
# A point well inside surf's window, which has no frame of ours around the page.
IN_SURF = (400, 300)


def game_colour(number):
    """A page colour of its own for each catalogue number (all of them below 100)."""
    return (20 + (number * 37) % 200, 20 + (number * 91) % 200, 20 + (number * 53) % 200)


class GamePages:
    """The click-through address answered with a page in the game's colour,
    and the time each request for a game arrived."""

    def __init__(self):
        self._lock = threading.Lock()
        self._requests = []
        self.pages = {"/pre.php": self._served}

    def _served(self, handler):
        when = time.monotonic()
        query = urllib.parse.parse_qs(urllib.parse.urlsplit(handler.path).query)
        try:
            number = int(query["r"][0].split("_")[1])
        except (KeyError, IndexError, ValueError):
            return Response("not found", "text/plain", 404)
        with self._lock:
            self._requests.append((when, number))
        return Response(coloured_page(f"game {number}", game_colour(number)))

    def request_time(self, number, since):
        """When the first request for game `number` at or after `since` arrived, or None."""
        with self._lock:
            return next((when for when, n in self._requests if n == number and when >= since), None)


def address(number):
    return f"http://127.0.0.1:{REDIRECT_PORT}/pre.php?r=3141_{number}_0"


def main_window(screen, program):
    window = screen.wait_for_window(program, TIMEOUT)
    return screen.geometry(window)[:2]


def program_switches(program_path, env, display, log_path, presses):
    """[(press to request, press to paint)] in ms for `presses` presses, button after button."""
    pages = GamePages()
    results = []
    with PageServer(pages.pages, ports=(REDIRECT_PORT,)), XInput(display.name) as x:
        program = Program(program_path, env, log_path)
        try:
            left, top = main_window(Screen(display), program)
            in_browser = (left + IN_BROWSER[0], top + IN_BROWSER[1])
            if x.wait_for_colour(*in_browser, game_colour(START_NUMBER), TIMEOUT) is None:
                raise AssertionError(f"the start page was not shown; see {log_path}")
            for press in range(presses):
                rect, number = GAME_BUTTONS[(press + 1) % len(GAME_BUTTONS)]
                button_x, button_y = centre(rect)
                x.move(left + button_x, top + button_y)
                pressed = x.button(1, True)
                painted = x.wait_for_colour(*in_browser, game_colour(number), PAINT_TIMEOUT)
                x.button(1, False)
                requested = pages.request_time(number, pressed)
                if painted is None or requested is None or not program.alive():
                    raise AssertionError(f"press {press + 1} (game {number}) was not shown within {PAINT_TIMEOUT} s;"
                                         f" see {log_path}")
                results.append(((requested - pressed) * 1000, (painted - pressed) * 1000))
        finally:
            program.stop()
    return results


def browser_loads(browser, env, display, watcher, log_path, runs):
    """[(mapped to paint, request to paint)] in ms for `runs` starts of the browser on a game page."""
    pages = GamePages()
    number = GAME_BUTTONS[1][1]
    results = []
    with PageServer(pages.pages, ports=(REDIRECT_PORT,)), XInput(display.name) as x:
        for _ in range(runs):
            launched = time.monotonic()
            program = Program(browser, env, log_path, args=[address(number)])
            try:
                mapped = wait_for(lambda: watcher.first_map(program.pid, launched), TIMEOUT, "surf's window")
                left, top = main_window(Screen(display), program)
                painted = x.wait_for_colour(left + IN_SURF[0], top + IN_SURF[1], game_colour(number), TIMEOUT)
                requested = pages.request_time(number, launched)
                if painted is None or requested is None:
                    raise AssertionError(f"surf did not show the page; see {log_path}")
                results.append(((painted - mapped) * 1000, (painted - requested) * 1000))
            finally:
                program.stop()
    return results


def web_processes_in(root):
    count = 0
    for pid in process_tree.members(root):
        try:
            with open(f"/proc/{pid}/comm") as f:
                count += f.read().strip() == WEB_PROCESS_NAME
        except OSError:
            continue
    return count


def evening(program_path, env, display, output_dir, checkpoints):
    """[(switches, PSS MiB, web processes alive)] at each checkpoint, the last one the evening's length."""
    figures = []
    with Portal(os.path.join(output_dir, "bench-portal.log")) as portal, XInput(display.name) as x:
        program = Program(program_path, {**env, **portal.environment()},
                          os.path.join(output_dir, "bench-evening.log"))
        try:
            left, top = main_window(Screen(display), program)
            portal.wait_for_request("LUDEX_REDIRECT_HOST", f"/games/{START_NUMBER}.html", 200, TIMEOUT)
            for switch in range(1, checkpoints[-1] + 1):
                rect, number = GAME_BUTTONS[switch % len(GAME_BUTTONS)]
                button_x, button_y = centre(rect)
                portal.clear_requests()
                x.move(left + button_x, top + button_y)
                x.button(1, True)
                x.button(1, False)
                portal.wait_for_request("LUDEX_REDIRECT_HOST", f"/games/{number}.html", 200, TIMEOUT)
                time.sleep(PLAY_SECONDS)
                if not program.alive():
                    raise AssertionError(f"the program ended at switch {switch}; see {program.log_path}")
                if switch in checkpoints:
                    pss, _ = process_tree.memory_kib(program.pid)
                    figures.append((switch, pss / 1024, web_processes_in(program.pid)))
        finally:
            program.stop()
    return figures


def percentile(values, fraction):
    """The nearest-rank percentile."""
    ordered = sorted(values)
    return ordered[max(0, min(len(ordered) - 1, int(round(fraction * len(ordered) + 0.5)) - 1))]


def print_latency(switches, loads, load_state):
    print()
    print(f"Game switch latency: {len(switches)} raw presses across the ten game buttons, ms ({load_state})")
    requests = [r for r, _ in switches]
    paints = [p for _, p in switches]
    surf_from_map = [m for m, _ in loads]
    surf_from_request = [r for _, r in loads]
    rows = [("figure", "p50", "p95", "max", "target")]
    surf_p95 = percentile(surf_from_map, 0.95)
    rows.append(("ludex press to game request", f"{percentile(requests, 0.5):.1f}",
                 f"{percentile(requests, 0.95):.1f}", f"{max(requests):.1f}",
                 f"p95 < 25: {'met' if percentile(requests, 0.95) < 25 else 'NOT met'}"))
    rows.append(("ludex press to first paint", f"{percentile(paints, 0.5):.1f}", f"{percentile(paints, 0.95):.1f}",
                 f"{max(paints):.1f}",
                 f"p95 <= surf's mapped to paint p95: {'met' if percentile(paints, 0.95) <= surf_p95 else 'NOT met'}"))
    rows.append((f"surf window mapped to first paint ({len(loads)} starts)", f"{percentile(surf_from_map, 0.5):.1f}",
                 f"{surf_p95:.1f}", f"{max(surf_from_map):.1f}", "-"))
    rows.append((f"surf request to first paint ({len(loads)} starts)", f"{percentile(surf_from_request, 0.5):.1f}",
                 f"{percentile(surf_from_request, 0.95):.1f}", f"{max(surf_from_request):.1f}", "-"))
    print_rows(rows)


def print_evening(figures, load_state):
    print()
    print(f"An evening of play: game switches against the demo portal, each game played {PLAY_SECONDS} s "
          f"({load_state})")
    rows = [("switches", "PSS of process tree (MiB)", "web processes alive", "PSS / PSS at first checkpoint")]
    first = figures[0][1]
    for switches, pss, web in figures:
        rows.append((str(switches), f"{pss:.1f}", str(web), f"{pss / first:.2f}"))
    print_rows(rows)
    last = figures[-1]
    print(f"target: PSS after {last[0]} <= 1.15 x after {figures[0][0]}: "
          f"{'met' if last[1] <= 1.15 * first else 'NOT met'}; no more web processes than views (1): "
          f"{'met' if all(web <= 1 for _, _, web in figures) else 'NOT met'}")


def print_rows(rows):
    widths = [max(len(row[i]) for row in rows) for i in range(len(rows[0]))]
    for j, row in enumerate(rows):
        print("  ".join(cell.ljust(widths[k]) for k, cell in enumerate(row)).rstrip())
        if j == 0:
            print("  ".join("-" * w for w in widths))
