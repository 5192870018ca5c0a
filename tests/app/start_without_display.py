"""The program started where it has no screen to run on: one line of its own on
standard error and exit code 1, never Qt's abort.

usage: start_without_display.py SCRIMBLE   (DISPLAY names a running X server)
"""
import os
import subprocess
import sys
import tempfile

SCRIMBLE = sys.argv[1]


def start(**changes):
    env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
    env.update({k: v for k, v in changes.items() if v is not None})
    return subprocess.run([SCRIMBLE], env=env, capture_output=True, text=True, timeout=30)


def eight_bit_display():
    """A PseudoColor X server of its own: an 8-bit Xvfb."""
    read_end, write_end = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "640x480x8", "-nolisten", "tcp"],
                              pass_fds=(write_end,), stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as numbers:
        return server, ":" + numbers.readline().strip()


def main():
    display = os.environ["DISPLAY"]
    server, eight_bit = eight_bit_display()
    cases = {
        "no DISPLAY": ({}, "DISPLAY"),
        "Wayland without XWayland": ({"WAYLAND_DISPLAY": "wayland-0"}, "install XWayland"),
        "no server": ({"DISPLAY": ":97"}, ":97"),
        "no such screen": ({"DISPLAY": display.split(".")[0] + ".5"}, "screen 5"),
        "8-bit PseudoColor": ({"DISPLAY": eight_bit}, "8-bit"),
    }
    failures = []
    try:
        for name, (env, says) in cases.items():
            with tempfile.TemporaryDirectory() as runtime:
                result = start(XDG_RUNTIME_DIR=runtime, **env)
            lines = result.stderr.strip().splitlines()
            if result.returncode != 1 or len(lines) != 1 or not lines[0].startswith("scrimble: ") or says not in lines[0]:
                failures.append(f"{name}: exit {result.returncode}, stderr {result.stderr!r}")
    finally:
        server.terminate()
        server.wait()
    if failures:
        sys.exit("\n".join(failures))
    print(f"{len(cases)} passed, 0 failed")


main()
