"""The programs the auto-save mode starts (wl-paste --watch on a Wayland desktop with
clipboard control) end with it, whether it is ended by SIGTERM or SIGINT, as when
the session logs out or the user presses Ctrl+C in a terminal.

usage: children_end.py SCRIMBLE   (inside a Wayland session: tests/support/run-on-wayland)
"""
import os
import signal
import subprocess
import sys
import time


def children(pid):
    """The living child processes of pid: {pid: command name}."""
    found = {}
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/stat") as stat:
                fields = stat.read().rsplit(")", 1)[1].split()
            with open(f"/proc/{entry}/comm") as comm:
                name = comm.read().strip()
        except OSError:
            continue
        if int(fields[1]) == pid and fields[0] != "Z":
            found[int(entry)] = name
    return found


def alive(pid):
    try:
        with open(f"/proc/{pid}/stat") as stat:
            return stat.read().rsplit(")", 1)[1].split()[0] != "Z"
    except OSError:
        return False


def wait_for(condition, seconds):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if condition():
            return True
        time.sleep(0.05)
    return condition()


failed = 0
for sig in (signal.SIGTERM, signal.SIGINT):
    program = subprocess.Popen([sys.argv[1], "--mode", "autosave"])
    if not wait_for(lambda: "wl-paste" in children(program.pid).values(), 15):
        print(f"FAIL {sig.name}: no wl-paste child started: {children(program.pid)}")
        program.kill()
        failed += 1
        continue
    started = children(program.pid)
    program.send_signal(sig)
    program.wait(10)
    left = [f"{pid} {name}" for pid, name in started.items() if wait_for(lambda: not alive(pid), 3) is False]
    if left:
        print(f"FAIL {sig.name}: left running: {left}")
        failed += 1
sys.exit(1 if failed else 0)
