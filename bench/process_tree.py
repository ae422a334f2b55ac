"""A launched program and everything it started (WebKit's web and network
processes): membership, memory and CPU time from /proc."""

import os

_CLOCK_TICKS = os.sysconf("SC_CLK_TCK")


def _stat_fields(pid):
    """The fields of /proc/<pid>/stat after the command name; None when the process is gone."""
    try:
        with open(f"/proc/{pid}/stat") as f:
            text = f.read()
    except OSError:
        return None
    return text.rsplit(")", 1)[1].split()


def members(root):
    """The root, its descendants, and whatever is left in its session (a
    helper that lost its parent)."""
    parents, sessions = {}, {}
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        fields = _stat_fields(int(entry))
        if fields:
            parents[int(entry)] = int(fields[1])
            sessions[int(entry)] = int(fields[3])
    tree = {root} if root in parents else set()
    grown = True
    while grown:
        grown = False
        for pid, parent in parents.items():
            if parent in tree and pid not in tree:
                tree.add(pid)
                grown = True
    tree.update(pid for pid, session in sessions.items() if session == root)
    return tree


def memory_kib(root):
    """(PSS, RSS) summed over the tree, in KiB."""
    pss = rss = 0
    for pid in members(root):
        try:
            with open(f"/proc/{pid}/smaps_rollup") as f:
                for line in f:
                    key, _, rest = line.partition(":")
                    if key == "Pss":
                        pss += int(rest.split()[0])
                    elif key == "Rss":
                        rss += int(rest.split()[0])
        except OSError:
            continue
    return pss, rss


def cpu_seconds(root):
    """User plus system CPU time of each process in the tree, by pid."""
    used = {}
    for pid in members(root):
        fields = _stat_fields(pid)
        if fields:
            used[pid] = (int(fields[11]) + int(fields[12])) / _CLOCK_TICKS
    return used



def wake_ups(root):
    """Context switches of each thread in the tree, by (pid, thread id): every
    time a thread went to sleep or was put off the processor."""
    counts = {}
    for pid in members(root):
        try:
            threads = os.listdir(f"/proc/{pid}/task")
        except OSError:
            continue
        for thread in threads:
            try:
                with open(f"/proc/{pid}/task/{thread}/status") as f:
                    counts[(pid, thread)] = sum(int(line.split()[1]) for line in f
                                                if line.startswith(("voluntary_ctxt_switches",
                                                                    "nonvoluntary_ctxt_switches")))
            except OSError:
                continue
    return counts
