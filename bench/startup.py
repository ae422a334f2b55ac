#!/usr/bin/env python3
"""Start-up and footprint of the game centre next to a minimal WebKitGTK
browser (surf), then the program's hot paths under Google Benchmark.

On an X server of its own and a loopback web server serving the start page,
it launches the program and the browser alternately, run by run, and takes
for each run: launch to the top-level window mapped, to the first request
for the start page, and to the page's onload; PSS and RSS of the whole
process tree 3 s after onload; and CPU time used by the tree in the 5 s
after that. It prints min / median / max of each figure for both programs,
the ratio of the medians and whether the target is met. Then it runs the
two Google Benchmark binaries and prints their figures.

Only the runs' failures fail the script; figures that miss their targets do not.
"""

import argparse
import os
import select
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import hot_paths  # noqa: E402
import process_tree  # noqa: E402
from page_server import PAGE_PATH, PageServer  # noqa: E402
from x_maps import MapWatcher  # noqa: E402

PORT = 47831
START_ADDRESS = f"http://127.0.0.1:{PORT}{PAGE_PATH}"
SCREEN = "1280x1024x24"
LAUNCH_TIMEOUT = 60
AFTER_ONLOAD = 3.0
IDLE_WINDOW = 5.0

# figure, unit, how a value is shown, and the largest ratio of medians
# (program / browser) that meets the target, None for no target.
FIGURES = [
    ("launch to window mapped", "ms", "{:.0f}", 0.8),
    ("launch to start page request", "ms", "{:.0f}", 0.8),
    ("launch to page onload", "ms", "{:.0f}", None),
    ("PSS of process tree", "MiB", "{:.1f}", 1.0),
    ("RSS of process tree", "MiB", "{:.1f}", None),
    ("CPU in 5 s idle", "ms", "{:.0f}", 1.0),
]


class RunFailed(Exception):
    pass


class VirtualDisplay:
    """An Xvfb server on a free display number, for as long as the `with` lasts."""

    def __init__(self, log_path):
        self._log_path = log_path
        self._process = None
        self.name = None

    def __enter__(self):
        read_end, write_end = os.pipe()
        with open(self._log_path, "wb") as log:
            self._process = subprocess.Popen(
                ["Xvfb", "-displayfd", str(write_end), "-screen", "0", SCREEN, "-nolisten", "tcp", "-noreset"],
                pass_fds=[write_end], stdout=log, stderr=subprocess.STDOUT, start_new_session=True)
        os.close(write_end)
        try:
            # Xvfb writes its display number once it accepts connections.
            with os.fdopen(read_end, "rb") as numbers:
                ready, _, _ = select.select([numbers], [], [], 30)
                line = numbers.readline() if ready else b""
            if not line.strip():
                raise RunFailed(f"Xvfb did not start; see {self._log_path}")
            self.name = ":" + line.decode().strip()
        except BaseException:
            process_tree.stop(self._process)
            raise
        return self

    def __exit__(self, *exc):
        process_tree.stop(self._process)


def measure_once(label, argv, env, log_path, watcher, server):
    """One launch: the six figures, in FIGURES order."""
    server.reset()
    with open(log_path, "ab") as log:
        log.write(f"--- {label}: {' '.join(argv)}\n".encode())
        log.flush()
        launched = time.monotonic()
        process = subprocess.Popen(argv, env=env, stdout=log, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL,
                                   start_new_session=True)
    try:
        def alive():
            return process.poll() is None

        def check(when, what):
            if when is None:
                state = "it exited" if not alive() else f"not within {LAUNCH_TIMEOUT} s"
                raise RunFailed(f"{label}: no {what} ({state}); see {log_path}")
            return when

        mapped = check(watcher.first_map(process.pid, launched, alive, LAUNCH_TIMEOUT), "window mapped")
        request = check(server.wait("page", alive, LAUNCH_TIMEOUT), "request for the start page")
        onload = check(server.wait("onload", alive, LAUNCH_TIMEOUT), "onload report")
        time.sleep(max(0.0, onload + AFTER_ONLOAD - time.monotonic()))
        pss, rss = process_tree.memory_kib(process.pid)
        before = process_tree.cpu_seconds(process.pid)
        time.sleep(IDLE_WINDOW)
        after = process_tree.cpu_seconds(process.pid)
        if not alive():
            raise RunFailed(f"{label}: exited while idle; see {log_path}")
        cpu = sum(used - before.get(pid, 0.0) for pid, used in after.items())
        return [(mapped - launched) * 1000, (request - launched) * 1000, (onload - launched) * 1000,
                pss / 1024, rss / 1024, cpu * 1000]
    finally:
        process_tree.stop(process)


def print_startup_table(names, samples, runs):
    print()
    print(f"Start-up and footprint: min / median / max of {runs} run(s) each, the programs alternated run by run")
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


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--program", required=True, help="the game centre, built for the loopback hosts")
    parser.add_argument("--bench-dir", required=True, help="the folder of ludex_bench_headless and ludex_bench_gtk")
    parser.add_argument("--output-dir", required=True, help="where the logs go")
    parser.add_argument("--quick", action="store_true", help="one run each, the shortest benchmark times")
    args = parser.parse_args()

    browser = shutil.which("surf")
    if not browser:
        sys.exit("bench: surf is not installed (scripts/bench installs it)")
    runs = 1 if args.quick else int(os.environ.get("BENCH_RUNS", "5"))
    program = os.path.abspath(args.program)
    os.makedirs(args.output_dir, exist_ok=True)
    log_path = os.path.join(args.output_dir, "bench-programs.log")
    open(log_path, "wb").close()

    names = ("ludex", "surf")
    commands = {"ludex": [program], "surf": [browser, START_ADDRESS]}
    samples = {name: [] for name in names}
    with tempfile.TemporaryDirectory(prefix="ludex-bench-home-") as home, \
            VirtualDisplay(os.path.join(args.output_dir, "bench-xvfb.log")) as display, \
            MapWatcher(display.name) as watcher, PageServer(PORT) as server:
        # Both programs keep their profiles and caches in the same fresh home.
        env = dict(os.environ, DISPLAY=display.name, GDK_BACKEND="x11", HOME=home,
                   XDG_CACHE_HOME=os.path.join(home, ".cache"), XDG_CONFIG_HOME=os.path.join(home, ".config"),
                   XDG_DATA_HOME=os.path.join(home, ".local", "share"))
        env.pop("WAYLAND_DISPLAY", None)
        print(f"bench: display {display.name}, start page {START_ADDRESS} ({server.page_size // 1024} KiB), "
              f"{runs} run(s) each")
        sys.stdout.flush()
        if not args.quick:
            # A first start of each that is not counted: caches and profiles as on a used machine.
            for name in names:
                measure_once(f"{name} warm-up", commands[name], env, log_path, watcher, server)
        for run in range(runs):
            order = names if run % 2 == 0 else names[::-1]
            for name in order:
                figures = measure_once(f"{name} run {run + 1}", commands[name], env, log_path, watcher, server)
                samples[name].append(figures)
                print(f"bench: {name:5} run {run + 1}: " + ", ".join(
                    f"{figure} {shown.format(value)} {unit}"
                    for (figure, unit, shown, _), value in zip(FIGURES, figures)))
                sys.stdout.flush()
        print_startup_table(names, samples, runs)
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


if __name__ == "__main__":
    try:
        main()
    except RunFailed as e:
        sys.exit(f"bench: {e}")
