"""The demo portal, ludex-portal, for the tests that use it: started on free
ports of three loopback addresses, with every line of its request log
collected, and stopped with SIGTERM as scripts/run stops it."""

import os
import signal
import subprocess
import threading
import time

import harness

FREE_PORTS = ("127.0.0.1:0", "127.0.0.2:0", "127.0.0.3:0")


def portal_path():
    """ludex-portal is built beside the program."""
    return os.path.join(os.path.dirname(harness.PROGRAM), "ludex-portal")


class LogLine:
    """One request as the portal logs it: time, host, method, path with query, status."""

    def __init__(self, text):
        self.text = text
        self.time, self.host, self.method, self.path, status = text.split(" ")
        self.status = int(status)

    def __repr__(self):
        return self.text


class Portal:
    def __init__(self, error_log_path, addresses=FREE_PORTS):
        self._error_log_path = error_log_path
        self._addresses = addresses
        self._lines = []
        self._changed = threading.Condition()
        self.process = None
        self._reader = None
        self.hosts = None  # LUDEX_*_HOST: address:port

    def __enter__(self):
        with open(self._error_log_path, "wb") as errors:
            self.process = subprocess.Popen([portal_path(), *self._addresses], stdout=subprocess.PIPE,
                                            stderr=errors, start_new_session=True)
        self._reader = threading.Thread(target=self._read, name="portal-log", daemon=True)
        self._reader.start()
        try:
            settings = harness.wait_for(lambda: self._settings(), 30, "the portal's host addresses")
        except AssertionError:
            self.stop()
            raise AssertionError(f"the portal did not start; see {self._error_log_path}") from None
        self.hosts = dict(settings)
        return self

    def __exit__(self, *exc):
        self.stop()

    def _read(self):
        for raw in self.process.stdout:
            with self._changed:
                self._lines.append(raw.decode("utf-8", errors="replace").rstrip("\n"))
                self._changed.notify_all()

    def _settings(self):
        with self._changed:
            found = [line.split("=", 1) for line in self._lines if line.startswith("LUDEX_")]
        return found if len(found) == 3 else None

    def environment(self):
        """The variables that point the game centre at the portal."""
        return dict(self.hosts)

    def url(self, variable, path):
        return f"http://{self.hosts[variable]}{path}"

    def requests(self):
        """The request log so far (since the last clear_requests())."""
        with self._changed:
            return [LogLine(line) for line in self._lines if not line.startswith("LUDEX_")]

    def clear_requests(self):
        with self._changed:
            self._lines = [line for line in self._lines if line.startswith("LUDEX_")]

    def wait_for_request(self, variable, path, status, timeout=30):
        """The first logged request of `path` on the host named by `variable` answered with `status`."""
        host = self.hosts[variable]
        deadline = time.monotonic() + timeout
        with self._changed:
            while True:
                for line in self._lines:
                    if line.startswith("LUDEX_"):
                        continue
                    request = LogLine(line)
                    if (request.host, request.path, request.status) == (host, path, status):
                        return request
                remaining = deadline - time.monotonic()
                if remaining <= 0:
                    raise AssertionError(f"timed out after {timeout} s waiting for {host}{path} ({status}); "
                                         f"logged: {self._lines}")
                self._changed.wait(remaining)

    def stop(self):
        """SIGTERM, then (if need be) what harness.stop_process does; returns the seconds SIGTERM took."""
        if self.process is None:
            return 0.0
        took = 0.0
        if self.process.poll() is None:
            start = time.monotonic()
            os.kill(self.process.pid, signal.SIGTERM)
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                harness.stop_process(self.process)
            took = time.monotonic() - start
        self._reader.join(timeout=10)
        self.process.stdout.close()
        return took
