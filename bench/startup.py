#!/usr/bin/env python3
"""Start-up and footprint of the game centre next to a minimal WebKitGTK
browser (surf), then the program's hot paths under Google Benchmark.

On an X server of its own and a loopback web server serving the start page,
both from the integration tests' harness, it launches the program and the browser alternately, run by run, and takes
for each run: launch to the top-level window mapped, to the first request
for the start page (and the CPU time the process tree has used by then),
and to the page's onload; PSS and RSS of the whole
process tree 3 s after onload; and the CPU time and the context switches
(wake-ups) of the tree's threads in the 5 s after that, the pointer away
from every window; then, the pointer back where Xvfb leaves it (the
screen's centre, over the program's window) and a second to settle, the CPU
time of another 5 s. It prints min / median /
max of each figure for both programs, the ratio of the medians and whether
the target is met. Then, on the same display, game switch latency and an
evening of play (game_switch.py) and, in the full run, memory with pop-ups
(popups.py); games next to Chromium and surf (games.py); last, the two Google Benchmark binaries. Each table names the
machine's load averages.

Only the runs' failures fail the script; figures that miss their targets do not.
"""

import argparse
import os
import shutil
import statistics
import sys
import tempfile
import time

BENCH_DIR = os.path.dirname(os.path.abspath(__file__))
sys.path[:0] = [BENCH_DIR, os.path.join(BENCH_DIR, os.pardir, "tests", "integration")]

import game_switch  # noqa: E402
import games  # noqa: E402
import harness  # noqa: E402
import hot_paths  # noqa: E402
import popups  # noqa: E402
import process_tree  # noqa: E402
from harness import (HOST_VARIABLES, REDIRECT_PORT, SCREEN_HEIGHT, SCREEN_WIDTH, Program,  # noqa: E402
                     VirtualDisplay, wait_for)
from pages import PageServer  # noqa: E402
from start_page import PAGE_PATH, StartPage  # noqa: E402
from x_input import XInput  # noqa: E402
from x_maps import MapWatcher  # noqa: E402

# The program, built for the loopback hosts, starts at this address.
START_ADDRESS = f"http://127.0.0.1:{REDIRECT_PORT}{PAGE_PATH}"
LAUNCH_TIMEOUT = 60
AFTER_ONLOAD = 3.0
IDLE_WINDOW = 5.0
POINTER_SETTLE = 1.0
SWITCH_PRESSES = 100
SURF_LOADS = 7
EVENING_CHECKPOINTS = (10, 100, 500)
POPUP_RUNS = 3
GAME_RUNS = 3

# figure, unit, how a value is shown, and the largest ratio of medians
# (program / browser) that meets the target, None for no target.
FIGURES = [
    ("launch to window mapped", "ms", "{:.0f}", 0.8),
    ("launch to start page request", "ms", "{:.0f}", 0.8),
    ("CPU of the tree to the request", "ms", "{:.0f}", None),
    ("launch to page onload", "ms", "{:.0f}", None),
    ("PSS of process tree", "MiB", "{:.1f}", 1.0),
    ("RSS of process tree", "MiB", "{:.1f}", None),
    ("CPU in 5 s idle", "ms", "{:.0f}", 1.0),
    ("wake-ups in 5 s idle", "count", "{:.0f}", None),
    ("CPU in 5 s idle, pointer in the centre", "ms", "{:.0f}", 1.0),
]


class RunFailed(Exception):
    pass


def idle_cpu_seconds(root):
    """The CPU time the tree `root` uses in IDLE_WINDOW."""
    before = process_tree.cpu_seconds(root)
    time.sleep(IDLE_WINDOW)
    return sum(used - before.get(pid, 0.0) for pid, used in process_tree.cpu_seconds(root).items())


def measure_once(label, command, env, output_dir, watcher, start_page, x):
    """One launch: the figures, in FIGURES order; `x` moves the pointer."""
    start_page.reset()
    log_path = os.path.join(output_dir, f"bench-{label.replace(' ', '-')}.log")
    launched = time.monotonic()
    program = Program(command[0], env, log_path, args=command[1:])
    try:
        def reached(what, moment):
            """`moment()`, once it is a time and not None."""
            def known():
                if not program.alive():
                    raise RunFailed(f"{label}: no {what} (it exited); see {log_path}")
                return moment()
            try:
                return wait_for(known, LAUNCH_TIMEOUT, what)
            except AssertionError:
                raise RunFailed(f"{label}: no {what} within {LAUNCH_TIMEOUT} s; see {log_path}") from None

        mapped = reached("window mapped", lambda: watcher.first_map(program.pid, launched))
        request = reached("request for the start page", lambda: start_page.time_of("page"))
        # Read within a poll of the request: on two cores start-up is bound
        # by the processor, and this is what the three processes ask of it.
        to_request = sum(process_tree.cpu_seconds(program.pid).values())
        onload = reached("onload report", lambda: start_page.time_of("onload"))
        time.sleep(max(0.0, onload + AFTER_ONLOAD - time.monotonic()))
        pss, rss = process_tree.memory_kib(program.pid)
        switches_before = process_tree.wake_ups(program.pid)
        cpu = idle_cpu_seconds(program.pid)
        switches_after = process_tree.wake_ups(program.pid)
        x.move(SCREEN_WIDTH // 2, SCREEN_HEIGHT // 2)
        time.sleep(POINTER_SETTLE)
        cpu_pointer_in = idle_cpu_seconds(program.pid)
        if not program.alive():
            raise RunFailed(f"{label}: exited while idle; see {log_path}")
        woken = sum(count - switches_before.get(thread, 0) for thread, count in switches_after.items())
        return [(mapped - launched) * 1000, (request - launched) * 1000, to_request * 1000,
                (onload - launched) * 1000,
                pss / 1024, rss / 1024, cpu * 1000, woken, cpu_pointer_in * 1000]
    finally:
        x.move(SCREEN_WIDTH - 1, SCREEN_HEIGHT - 1)
        program.stop()


def print_startup_table(names, samples, runs, load_state):
    print()
    print(f"Start-up and footprint: min / median / max of {runs} run(s) each, the programs alternated run by run "
          f"({load_state})")
    rows = [("figure", names[0], names[1], "ratio of medians", "target")]
    for i, (figure, unit, shown, target) in enumerate(FIGURES):
        cells = []
        medians = []
        for name in names:
            values = [run[i] for run in samples[name]]
            medians.append(statistics.median(values))
            cells.append(" / ".join(shown.format(v) for v in (min(values), medians[-1], max(values))))
        ratio_text = f"{medians[0] / medians[1]:.2f}" if medians[1] > 0 else "-"
        if target is None:
            verdict = "-"
        else:
            met = medians[0] <= target * medians[1]
            verdict = f"<= {target:g} x {names[1]}: {'met' if met else 'NOT met'}"
        rows.append((f"{figure} ({unit})", *cells, ratio_text, verdict))
    widths = [max(len(row[i]) for row in rows) for i in range(5)]
    for j, row in enumerate(rows):
        print("  ".join(cell.ljust(widths[k]) for k, cell in enumerate(row)).rstrip())
        if j == 0:
            print("  ".join("-" * w for w in widths))


def machine_state():
    """The load averages, to read each figure against what else the machine was doing."""
    with open("/proc/loadavg") as f:
        return "load " + " ".join(f.read().split()[:3])


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--program", required=True, help="the game centre, built for the loopback hosts")
    parser.add_argument("--bench-dir", required=True, help="the folder of ludex_bench_headless and ludex_bench_gtk")
    parser.add_argument("--output-dir", required=True, help="where the logs go")
    parser.add_argument("--quick", action="store_true", help="one run each, the shortest benchmark times")
    parser.add_argument("--games-only", action="store_true", help="only the games, next to Chromium and surf")
    args = parser.parse_args()

    browser = shutil.which("surf")
    if not browser:
        sys.exit("bench: surf is not installed (scripts/bench installs it)")
    runs = 1 if args.quick else int(os.environ.get("BENCH_RUNS", "5"))
    program = os.path.abspath(args.program)
    # The portal is built beside the program.
    harness.PROGRAM = program
    os.makedirs(args.output_dir, exist_ok=True)

    def log(name):
        return os.path.join(args.output_dir, f"bench-{name}.log")

    names = ("ludex", "surf")
    commands = {"ludex": [program], "surf": [browser, START_ADDRESS]}
    samples = {name: [] for name in names}
    start_page = StartPage()
    with tempfile.TemporaryDirectory(prefix="ludex-bench-home-") as home, \
            VirtualDisplay(log("xvfb")) as display, MapWatcher(display.name) as watcher, XInput(display.name) as x:
        # Both programs keep their profiles and caches in the same fresh home.
        env = display.environment({
            "GDK_BACKEND": "x11", "HOME": home, "XDG_CACHE_HOME": os.path.join(home, ".cache"),
            "XDG_CONFIG_HOME": os.path.join(home, ".config"), "XDG_DATA_HOME": os.path.join(home, ".local", "share")})
        # X11, and the hosts the program is built with, this server among them.
        for variable in ("WAYLAND_DISPLAY", *HOST_VARIABLES):
            env.pop(variable, None)
        # The pointer away from every window: idle means nobody hovers over anything.
        x.move(SCREEN_WIDTH - 1, SCREEN_HEIGHT - 1)
        print(f"bench: display {display.name}, start page {START_ADDRESS} ({start_page.page_size // 1024} KiB), "
              f"{runs} run(s) each; {machine_state()}")
        sys.stdout.flush()
        if args.games_only:
            games.run(program, env, display, args.output_dir, runs, args.quick)
            return
        with PageServer(start_page.pages, ports=(REDIRECT_PORT,)):
            if not args.quick:
                # A first start of each that is not counted: caches and profiles as on a used machine.
                for name in names:
                    measure_once(f"{name} warm-up", commands[name], env, args.output_dir, watcher, start_page, x)
            for run in range(runs):
                order = names if run % 2 == 0 else names[::-1]
                for name in order:
                    figures = measure_once(f"{name} run {run + 1}", commands[name], env, args.output_dir, watcher,
                                           start_page, x)
                    samples[name].append(figures)
                    print(f"bench: {name:5} run {run + 1}: " + ", ".join(
                        f"{figure} {shown.format(value)} {unit}"
                        for (figure, unit, shown, _), value in zip(FIGURES, figures)))
                    sys.stdout.flush()
        print_startup_table(names, samples, runs, machine_state())
        sys.stdout.flush()

        switches = game_switch.program_switches(program, env, display, log("switches"),
                                                10 if args.quick else SWITCH_PRESSES)
        loads = game_switch.browser_loads(browser, env, display, watcher, log("surf-loads"),
                                          1 if args.quick else SURF_LOADS)
        game_switch.print_latency(switches, loads, machine_state())
        sys.stdout.flush()

        checkpoints = (10,) if args.quick else EVENING_CHECKPOINTS
        game_switch.print_evening(game_switch.evening(program, env, display, args.output_dir, checkpoints),
                                  machine_state())
        sys.stdout.flush()

        if not args.quick:
            with_popups = {"ludex": [], "surf": []}
            for run in range(POPUP_RUNS):
                for name in names if run % 2 == 0 else names[::-1]:
                    if name == "ludex":
                        with_popups[name].append(popups.program_pss(program, env, display, log("popups")))
                    else:
                        with_popups[name].append(popups.browser_pss(browser, env, display, log("surf-popups")))
            print_popups(with_popups, machine_state())
            sys.stdout.flush()

        games.run(program, env, display, args.output_dir, 1 if args.quick else GAME_RUNS, args.quick)
        sys.stdout.flush()

        repetitions = 1 if args.quick else runs
        min_time = 0.01 if args.quick else 0.5
        results = {}
        for back_end in ("headless", "gtk"):
            binary = os.path.join(args.bench_dir, f"ludex_bench_{back_end}")
            results[back_end] = hot_paths.run(binary, repetitions, min_time, env)
        failed = hot_paths.print_table(results, repetitions)
    if failed:
        sys.exit(f"bench: {failed} benchmark(s) failed")


def print_popups(pss, load_state):
    print()
    print(f"Memory with pop-ups: PSS of the process tree (MiB), main window and {popups.POPUPS} pop-ups "
          f"(surf: {popups.POPUPS + 1} windows, each a surf of its own), min / median / max of {POPUP_RUNS} run(s) "
          f"({load_state})")
    medians = {name: statistics.median(values) for name, values in pss.items()}
    for name, values in pss.items():
        print(f"{name:5}  {min(values):.1f} / {medians[name]:.1f} / {max(values):.1f}")
    print(f"ratio of medians: {medians['ludex'] / medians['surf']:.2f}")


if __name__ == "__main__":
    try:
        main()
    except (RunFailed, AssertionError) as e:
        # The harness reports what it could not bring up as assertions.
        sys.exit(f"bench: {e}")
