"""The auto-save mode on a Wayland desktop with clipboard control watches the clipboard
in its own process: it starts no program that could outlive it, and it ends on SIGTERM
and SIGINT, as when the session logs out or the user presses Ctrl+C in a terminal.

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
    # No child may appear while the mode starts and watches.
    if wait_for(lambda: children(program.pid), 3):
        print(f"FAIL {sig.name}: started {children(program.pid)}")
        failed += 1
    program.send_signal(sig)
    try:
        program.wait(10)
    except subprocess.TimeoutExpired:
        print(f"FAIL {sig.name}: still running 10 s after the signal")
        program.kill()
        failed += 1
sys.exit(1 if failed else 0)
