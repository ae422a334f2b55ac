"""What a screen reader sees of the program, for the tests: a D-Bus session
bus of the test's own, on which the accessibility bus starts when the
program asks for it, and the program's accessible objects read through
AT-SPI by atspi_tree.py under the system's python3 (which has the AT-SPI
bindings; the tests' own python may not)."""

import json
import os
import shutil
import subprocess
import tempfile

import harness

SYSTEM_PYTHON = "/usr/bin/python3"
TREE_SCRIPT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "atspi_tree.py")


class SessionBus:
    """A dbus-daemon for a session, for as long as the `with` lasts; the
    services it starts (the accessibility bus and registry) end with it."""

    def __init__(self, log_path):
        self._log_path = log_path
        self._process = None
        self._runtime = None
        self.address = None

    def __enter__(self):
        # The accessibility bus puts its socket in the runtime folder, which
        # is otherwise ~/.cache for every run: the bus of a test just ended
        # would delete the next one's socket as it goes.
        self._runtime = tempfile.mkdtemp(prefix="ludex-bus-")
        with open(self._log_path, "wb") as log:
            self._process = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                                             stdout=subprocess.PIPE, stderr=log, stdin=subprocess.DEVNULL,
                                             env={**os.environ, "XDG_RUNTIME_DIR": self._runtime},
                                             start_new_session=True)
        self.address = self._process.stdout.readline().decode().strip()
        if not self.address:
            harness.stop_process(self._process)
            raise AssertionError(f"dbus-daemon did not start; see {self._log_path}")
        return self

    def __exit__(self, *exc):
        harness.stop_process(self._process)
        shutil.rmtree(self._runtime, ignore_errors=True)

    def environment(self):
        return {"DBUS_SESSION_BUS_ADDRESS": self.address}


def _run(env, *args):
    result = subprocess.run([SYSTEM_PYTHON, TREE_SCRIPT, *map(str, args)], env=env, capture_output=True,
                            timeout=60)
    if result.returncode != 0:
        raise AssertionError(f"atspi_tree.py {' '.join(map(str, args))} failed: "
                             f"{result.stderr.decode(errors='replace')}")
    return result.stdout.decode()


def accessible_objects(env, pid):
    """Every accessible object of process `pid`, depth first: dicts with
    depth, role, name, and where they apply extents, actions and text."""
    return json.loads(_run(env, pid) or "[]")


def texts_when_readable(env, pid):
    """The names and texts of every accessible object of process `pid` in
    one string, or "" while they cannot be read: the objects of a web process
    just ended linger on the bus for a moment."""
    try:
        objects = accessible_objects(env, pid)
    except AssertionError:
        return ""
    return " ".join(o["name"] + " " + o.get("text", "") for o in objects)


def click(env, pid, name):
    """Does the click action of the first accessible object named `name`."""
    _run(env, pid, "--click", name)
