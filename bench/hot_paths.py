"""The program's hot paths: runs the Google Benchmark binaries (headless
back end, and gtk back end on the benchmark's X display) and tabulates
their wall-clock times."""

import json
import statistics
import subprocess

# name in the binaries, what it measures, and its target in microseconds
# with the back ends the target is judged on.
OPERATIONS = [
    ("MainFrameRelayout", "main window frame, one re-layout at 1052x699 (JyxSkin, via BackColor setter)",
     2000, ("headless", "gtk")),
    ("ButtonRepaintNormal", "game button, one RepaintNormal (JyxButton, via BackColor setter)",
     200, ("headless", "gtk")),
    ("ButtonPressToNavigate", "game button, raw press to Navigate and caption", None, ()),
    ("WinCaseRoll", "designer-size window case, one roll of 1735 steps with DoEvents", 1_000_000, ("gtk",)),
    ("FrameRoll", "default frame on a 600-px-high form, one roll of 8475 steps with DoEvents", 2_000_000, ("gtk",)),
]


def run(binary, repetitions, min_time, env, timeout=1800):
    """{benchmark name: [microseconds per operation, one per repetition]}
    and {name: error message} from one binary."""
    command = [binary, "--benchmark_format=json", f"--benchmark_repetitions={repetitions}",
               f"--benchmark_min_time={min_time}"]
    done = subprocess.run(command, env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=timeout,
                          check=False)
    if done.returncode != 0:
        raise RuntimeError(f"{binary} failed ({done.returncode}):\n{done.stderr.decode(errors='replace')[-3000:]}")
    report = json.loads(done.stdout)
    times, errors = {}, {}
    for entry in report["benchmarks"]:
        if entry.get("run_type", "iteration") != "iteration":
            continue
        name = entry["run_name"].split("/")[0]
        if entry.get("error_occurred"):
            errors[name] = entry.get("error_message", "error")
            continue
        scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3, "s": 1e6}[entry["time_unit"]]
        times.setdefault(name, []).append(entry["real_time"] * scale)
    return times, errors


def _spread(values):
    if not values:
        return "failed"
    return f"{min(values):,.1f} / {statistics.median(values):,.1f} / {max(values):,.1f}"


def print_table(results, repetitions):
    """`results`: {back end: (times, errors)}; returns the number of failed operations."""
    print()
    print(f"Program hot paths: microseconds per operation, wall clock; min / median / max of "
          f"{repetitions} repetition(s)")
    rows = [("operation", "headless", "gtk (Xvfb)", "target")]
    failed = 0
    for name, what, target_us, judged_on in OPERATIONS:
        cells = []
        verdicts = []
        for back_end in ("headless", "gtk"):
            times, errors = results[back_end]
            values = times.get(name, [])
            if not values:
                failed += 1
                cells.append(f"failed: {errors.get(name, 'no result')}")
                continue
            cells.append(_spread(values))
            if target_us is not None and back_end in judged_on:
                met = statistics.median(values) < target_us
                verdicts.append(f"{back_end} {'met' if met else 'NOT met'}")
        target = "-" if target_us is None else f"< {target_us:,} us: " + ", ".join(verdicts)
        rows.append((what, *cells, target))
    widths = [max(len(row[i]) for row in rows) for i in range(4)]
    for i, row in enumerate(rows):
        print("  ".join(cell.ljust(widths[j]) for j, cell in enumerate(row)).rstrip())
        if i == 0:
            print("  ".join("-" * w for w in widths))
    return failed
