"""Games in the game centre, next to Chromium in app mode and surf.

- A real engine: Phaser 3 (a pinned version from npm, installed into the
  build folder by the benchmark, never committed) with 600 moving, tinted,
  rotating sprites in a 960x440 canvas, in its automatic renderer choice.
  The page counts its frames for 10 s after 2 s from requestAnimationFrame
  timestamps and reports frames per second, the 95th and 99th percentile of
  frame time and the renderer it got; the benchmark reads the CPU time of
  each program's whole process tree (every descendant: the web process runs
  inside the sandbox's own processes) and of the X server over the same
  window, each per frame.
- Input to screen: a page that changes its whole colour on keydown; the
  time from a key sent with XTest to the first changed pixel on the screen.
- The demo portal's games, each playing itself for 5 s in the game centre.
- The same Phaser scene with the game centre's WebGL switched on, so that
  the cost of that choice stays visible.

Chromium runs as root only with --no-sandbox; the table says when it did."""

import json
import os
import shutil
import statistics
import subprocess
import tempfile
import threading
import time
import urllib.parse

import game_switch
import process_tree
from harness import REDIRECT_PORT, Program, Screen, wait_for
from pages import PageServer, Response
from portal import Portal
from x_input import XInput

PHASER_VERSION = "3.90.0"
SPRITES = 600
WARM_UP_SECONDS = 2
MEASURED_SECONDS = 10
PORTAL_SECONDS = 5
KEYS = 100
TIMEOUT = 60
# The program starts at the first game's click-through address, which the benchmark answers.
START_PATH = "/pre.php"
PHASER_PATH = "/phaser.min.js"
# The key page's two colours, far from anything else the screen shows.
KEY_COLOURS = ((16, 32, 48), (240, 200, 40))
# A point inside the demo games' play area, in client pixels of the main window.
GAME_AREA = (300, 300)
# Chromium's window: big enough for the 960x440 canvas and its page.
CHROMIUM_WINDOW = "1024,640"

SCENE_PAGE = """<!DOCTYPE html><html><head><meta charset='utf-8'><title>sprites</title>
<style>html, body {{ margin: 0; background: #000; }}</style>
<script src='{phaser}'></script></head><body><script>
'use strict';
const report = (path, values) => fetch(path + '?' + new URLSearchParams(values), {{cache: 'no-store'}});
const times = [];
let from = null;
function count(now) {{
  if (from === null) {{
    from = now + {warm_up} * 1000;
  }} else if (now >= from) {{
    if (times.length === 0) report('/start', {{}});
    times.push(now);
    if (now - times[0] >= {measured} * 1000) return finish();
  }}
  requestAnimationFrame(count);
}}
function percentile(sorted, p) {{
  return sorted[Math.min(sorted.length - 1, Math.ceil(p / 100 * sorted.length) - 1)];
}}
function finish() {{
  const gaps = times.slice(1).map((t, i) => t - times[i]).sort((a, b) => a - b);
  const seconds = (times[times.length - 1] - times[0]) / 1000;
  report('/report', {{frames: gaps.length, seconds: seconds, p95: percentile(gaps, 95), p99: percentile(gaps, 99),
                      renderer: game.renderer.type === Phaser.WEBGL ? 'WebGL' : '2D canvas'}});
}}
const game = new Phaser.Game({{
  type: Phaser.AUTO, width: 960, height: 440, backgroundColor: '#10141c', banner: false,
  scene: {{
    create() {{
      const g = this.add.graphics();
      g.fillStyle(0xffffff).fillRect(0, 0, 24, 24).fillStyle(0x808080).fillTriangle(0, 0, 24, 0, 12, 12);
      g.generateTexture('box', 24, 24);
      g.destroy();
      this.boxes = [];
      for (let i = 0; i < {sprites}; i++) {{
        const box = this.add.image((i * 97) % 960, (i * 53) % 440, 'box');
        box.setTint(0x404040 + ((i * 2654435761) & 0xbfbfbf));
        box.velocity = [((i * 7) % 11 - 5) * 40 || 60, ((i * 5) % 9 - 4) * 40 || 50];
        box.spin = ((i % 7) - 3) * 0.03 || 0.02;
        this.boxes.push(box);
      }}
      requestAnimationFrame(count);
    }},
    update(time, delta) {{
      const s = delta / 1000;
      for (const box of this.boxes) {{
        box.x += box.velocity[0] * s;
        box.y += box.velocity[1] * s;
        if (box.x < 0 || box.x > 960) box.velocity[0] = -box.velocity[0];
        if (box.y < 0 || box.y > 440) box.velocity[1] = -box.velocity[1];
        box.rotation += box.spin;
      }}
    }},
  }},
}});
</script></body></html>"""

KEY_PAGE = """<!DOCTYPE html><html><head><meta charset='utf-8'><title>keys</title>
<style>html, body {{ margin: 0; height: 100%; background: rgb{first}; }}</style></head><body><script>
let second = false;
window.addEventListener('keydown', () => {{
  second = !second;
  document.body.style.background = second ? 'rgb{second}' : 'rgb{first}';
}});
fetch('/ready', {{cache: 'no-store'}});
</script></body></html>""".format(first=KEY_COLOURS[0], second=KEY_COLOURS[1])


class RunFailed(Exception):
    pass


def install_phaser(folder):
    """The engine's script, installed with npm into `folder` when it is not there yet."""
    script = os.path.join(folder, "node_modules", "phaser", "dist", "phaser.min.js")
    if not os.path.exists(script):
        print(f"bench: installing phaser {PHASER_VERSION} from npm")
        subprocess.run(["npm", "install", "--no-audit", "--no-fund", "--silent", "--prefix", folder,
                        f"phaser@{PHASER_VERSION}"], check=True, timeout=600)
    return script


def chromium_command():
    """Chromium in app mode, or None when it is not installed; its own sandbox cannot run as root."""
    browser = shutil.which("chromium")
    if not browser:
        return None
    command = [browser, "--no-first-run", "--no-default-browser-check", f"--window-size={CHROMIUM_WINDOW}",
               "--window-position=0,0", "--password-store=basic"]
    if os.geteuid() == 0:
        command.append("--no-sandbox")
    return command


class Contender:
    """One program of the comparison: how to start it at an address, with its own profile."""

    def __init__(self, name, start):
        self.name = name
        self._start = start

    def launch(self, address, env, log_path):
        return self._start(address, env, log_path)


def contenders(program, settings_for, webgl_on=False):
    """The game centre (its settings file holding `settings_for` webgl choice), Chromium and surf."""
    def ludex(address, env, log_path):
        # The game centre starts at its built-in first game, which the page server answers.
        config = os.path.join(env["XDG_CONFIG_HOME"], "ludex")
        os.makedirs(config, exist_ok=True)
        with open(os.path.join(config, "settings.ini"), "w") as f:
            f.write(f"[web]\nwebgl={settings_for}\n")
        return Program(program, env, log_path)

    def chromium(address, env, log_path):
        profile = os.path.join(env["HOME"], "chromium-profile")
        return Program(CHROMIUM[0], env, log_path, args=[*CHROMIUM[1:], f"--user-data-dir={profile}",
                                                          f"--app={address}"])

    def surf(address, env, log_path):
        return Program(shutil.which("surf"), env, log_path, args=[address])

    found = [Contender("ludex" + (" (webgl=on)" if webgl_on else ""), ludex)]
    if not webgl_on:
        if CHROMIUM:
            found.append(Contender("chromium --app" + (" --no-sandbox" if "--no-sandbox" in CHROMIUM else ""),
                                   chromium))
        if shutil.which("surf"):
            found.append(Contender("surf", surf))
    return found


CHROMIUM = chromium_command()


def cpu_of(pids_of):
    return sum(process_tree.cpu_seconds(pids_of).values())


class ScenePages:
    """The Phaser scene at the start address, and the page's two reports: the
    CPU times of the tree and of the X server are read as the first arrives."""

    def __init__(self, phaser_script):
        with open(phaser_script, "rb") as f:
            self._phaser = Response(f.read(), "text/javascript")
        page = SCENE_PAGE.format(phaser=PHASER_PATH, warm_up=WARM_UP_SECONDS, measured=MEASURED_SECONDS,
                                 sprites=SPRITES)
        self._page = Response(page)
        self._lock = threading.Lock()
        self.watched = None
        self.x_server = None
        self.start = None
        self.report = None
        self.pages = {START_PATH: self._page, PHASER_PATH: self._phaser, "/start": self._started,
                      "/report": self._reported}

    def reset(self, watched, x_server):
        with self._lock:
            self.watched, self.x_server, self.start, self.report = watched, x_server, None, None

    def _started(self, handler):
        with self._lock:
            if self.start is None and self.watched:
                self.start = (cpu_of(self.watched), process_tree.cpu_seconds(self.x_server).get(self.x_server, 0))
        return Response(b"", "text/plain", 204)

    def _reported(self, handler):
        cpu = cpu_of(self.watched) if self.watched else 0
        x = process_tree.cpu_seconds(self.x_server).get(self.x_server, 0)
        query = urllib.parse.parse_qs(urllib.parse.urlsplit(handler.path).query)
        with self._lock:
            if self.report is None and self.start is not None:
                self.report = {key: values[0] for key, values in query.items()}
                self.report["tree cpu"] = cpu - self.start[0]
                self.report["x cpu"] = x - self.start[1]
        return Response(b"", "text/plain", 204)


def scene_run(contender, pages, env, display, log_path):
    """One run of the Phaser scene: (fps, p95 ms, p99 ms, tree CPU ms per frame, X CPU ms per frame, renderer)."""
    address = f"http://127.0.0.1:{REDIRECT_PORT}{START_PATH}?r=3141_13_0"
    x_server = display.pid
    program = contender.launch(address, env, log_path)
    try:
        pages.reset(program.pid, x_server)
        seconds = WARM_UP_SECONDS + MEASURED_SECONDS + TIMEOUT

        def reported():
            if not program.alive():
                raise RunFailed(f"{contender.name} exited; see {log_path}")
            return pages.report
        try:
            report = wait_for(reported, seconds, f"{contender.name}'s report")
        except AssertionError:
            raise RunFailed(f"{contender.name}: no report within {seconds} s; see {log_path}") from None
        frames = int(report["frames"])
        return (frames / float(report["seconds"]), float(report["p95"]), float(report["p99"]),
                report["tree cpu"] * 1000 / frames, report["x cpu"] * 1000 / frames, report["renderer"])
    finally:
        program.stop()


def key_run(contender, env, display, log_path, keys):
    """Key to screen for `keys` keys: the latencies in ms."""
    ready = threading.Event()
    pages = {START_PATH: Response(KEY_PAGE), "/ready": lambda handler: (ready.set(),
                                                                       Response(b"", "text/plain", 204))[1]}
    address = f"http://127.0.0.1:{REDIRECT_PORT}{START_PATH}?r=3141_13_0"
    screen = Screen(display)
    with PageServer(pages, ports=(REDIRECT_PORT,)):
        program = contender.launch(address, env, log_path)
        try:
            wait_for(lambda: ready.is_set() or not program.alive(), TIMEOUT, f"{contender.name}'s key page")
            point = wait_for(lambda: _point_of(screen, KEY_COLOURS[0]), TIMEOUT,
                             f"{contender.name}'s key page on the screen")
            latencies = []
            with XInput(display.name) as x:
                x.move(*point)
                # The page takes the keyboard with a click, as a player's would.
                x.button(1, True)
                x.button(1, False)
                colour = 0
                for _ in range(keys):
                    sent = x.key("a", True)
                    seen = x.wait_for_colour(*point, KEY_COLOURS[1 - colour], TIMEOUT)
                    x.key("a", False)
                    if seen is None:
                        raise RunFailed(f"{contender.name}: a key changed nothing on the screen; see {log_path}")
                    latencies.append((seen - sent) * 1000)
                    colour = 1 - colour
                    # Keys come apart as a player's do, not as a burst.
                    time.sleep(0.05)
            return latencies
        finally:
            program.stop()


def _point_of(screen, colour):
    """A point of the screen well inside an area of `colour`, or None."""
    image = screen.capture()
    for y in range(40, image.height - 40, 20):
        for x in range(40, image.width - 40, 20):
            if all(image.pixel(x + dx, y + dy) == colour for dx, dy in ((0, 0), (-30, -30), (30, 30))):
                return x, y
    return None


def portal_run(program, env, display, log_path, seconds, buttons):
    """Frames per second of each demo game in the game centre, pressed by its button and started with the
    space bar, as the game reports them: {catalogue number: fps}."""
    found = {}
    with Portal(log_path + ".portal") as portal, XInput(display.name) as x:
        running = Program(program, {**env, **portal.environment()}, log_path)
        try:
            left, top = game_switch.main_window(Screen(display), running)
            for rect, number in buttons:
                portal.clear_requests()
                button_x, button_y = rect[0] + rect[2] // 2, rect[1] + rect[3] // 2
                x.move(left + button_x, top + button_y)
                x.button(1, True)
                x.button(1, False)
                portal.wait_for_request("LUDEX_REDIRECT_HOST", f"/games/{number}.html", 200, TIMEOUT)
                # Space starts the game, which the page has the keyboard for once clicked.
                x.move(left + GAME_AREA[0], top + GAME_AREA[1])
                x.button(1, True)
                x.button(1, False)
                line = wait_for(lambda: next((l for l in portal.requests()
                                              if l.path.startswith(f"/stat?game={number}&frames=")), None),
                                seconds + TIMEOUT, f"the frame count of game {number}")
                query = urllib.parse.parse_qs(urllib.parse.urlsplit(line.path).query)
                found[number] = int(query["frames"][0]) / float(query["seconds"][0])
        finally:
            running.stop()
    return found


def _median_row(name, runs):
    """Median of each figure over the runs of one contender, and the renderer(s) seen."""
    columns = list(zip(*runs))
    figures = [statistics.median(column) for column in columns[:5]]
    return name, figures, "/".join(sorted(set(columns[5])))


def run(program, env, display, output_dir, runs, quick):
    """Runs every part and prints its tables. The quick run, there only to show that the benchmark works,
    goes on without the engine when npm cannot serve it."""
    try:
        phaser = install_phaser(os.path.join(output_dir, "npm"))
    except (subprocess.CalledProcessError, subprocess.TimeoutExpired, OSError) as e:
        if not quick:
            raise
        print(f"bench: phaser {PHASER_VERSION} could not be installed ({e}); the sprite scene is left out")
        phaser = None

    def log(name):
        return os.path.join(output_dir, f"bench-games-{name.split()[0]}.log")

    scene = {}
    if phaser:
        pages = ScenePages(phaser)
        with PageServer(pages.pages, ports=(REDIRECT_PORT,)):
            players = contenders(program, "auto")
            for turn in range(runs):
                for contender in players if turn % 2 == 0 else players[::-1]:
                    scene.setdefault(contender.name, []).append(scene_run(contender, pages, env, display,
                                                                          log(contender.name)))
            for contender in contenders(program, "on", webgl_on=True):
                for _ in range(runs):
                    scene.setdefault(contender.name, []).append(scene_run(contender, pages, env, display,
                                                                          log("ludex-webgl")))
    keys = {}
    for contender in contenders(program, "auto"):
        keys[contender.name] = key_run(contender, env, display, log(contender.name), 10 if quick else KEYS)
    portal = portal_run(program, env, display, log("portal"), PORTAL_SECONDS,
                        game_switch.GAME_BUTTONS[:2] if quick else game_switch.GAME_BUTTONS)
    print_tables(scene, keys, portal, runs)


def print_tables(scene, keys, portal, runs):
    print()
    print(f"Games: Phaser {PHASER_VERSION}, {SPRITES} sprites in 960x440, the engine's own renderer choice; "
          f"median of {runs} alternated run(s), {MEASURED_SECONDS} s each after {WARM_UP_SECONDS} s")
    rows = [("program", "renderer", "fps", "p95 ms", "p99 ms", "tree CPU ms/frame", "X CPU ms/frame",
             "CPU ms/frame")]
    medians = {}
    for name, samples in scene.items():
        _, (fps, p95, p99, tree, x), renderer = _median_row(name, samples)
        medians[name] = (fps, p99, tree + x)
        rows.append((name, renderer, f"{fps:.1f}", f"{p95:.1f}", f"{p99:.1f}", f"{tree:.2f}", f"{x:.2f}",
                     f"{tree + x:.2f}"))
    game_switch.print_rows(rows)
    ludex = medians.get("ludex")
    chromium = next((figures for name, figures in medians.items() if name.startswith("chromium")), None)
    if ludex:
        print(f"target: >= 58 fps: {'met' if ludex[0] >= 58 else 'NOT met'}; p99 <= 25 ms: "
              f"{'met' if ludex[1] <= 25 else 'NOT met'}", end="")
        if chromium:
            print(f"; CPU per frame <= 0.9 x Chromium's ({ludex[2]:.2f} vs {chromium[2]:.2f}, "
                  f"{ludex[2] / chromium[2]:.2f} x): {'met' if ludex[2] <= 0.9 * chromium[2] else 'NOT met'}",
                  end="")
        print()
    print()
    print("Key to screen: a key sent with XTest to a page that changes its colour on keydown, "
          "to the first changed pixel, ms")
    rows = [("program", "keys", "p50", "p95", "max")]
    p95s = {}
    for name, latencies in keys.items():
        p95s[name] = game_switch.percentile(latencies, 0.95)
        rows.append((name, str(len(latencies)), f"{game_switch.percentile(latencies, 0.5):.1f}", f"{p95s[name]:.1f}",
                     f"{max(latencies):.1f}"))
    game_switch.print_rows(rows)
    chromium_p95 = next((p for name, p in p95s.items() if name.startswith("chromium")), None)
    if chromium_p95 is not None and "ludex" in p95s:
        print(f"target: p95 <= Chromium's: {'met' if p95s['ludex'] <= chromium_p95 else 'NOT met'}")
    print()
    print(f"The demo portal's games in the game centre, each started and left to play {PORTAL_SECONDS} s: "
          + ", ".join(f"{number}: {fps:.1f} fps" for number, fps in portal.items()))
