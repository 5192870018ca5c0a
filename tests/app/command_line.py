"""The program's command line as a shell or a desktop shortcut runs it: --version and
--help need no display and exit 0; anything else unknown prints the usage on
standard error and exits 2. Output that cannot be written (a full disk, a closed
standard output) is an error with a message, never a success.

usage: command_line.py SCRIMBLE
"""
import os
import subprocess
import sys

CASES = [
    (["--version"], 0, "stdout", "Scrimble 3.3.2\n"),
    (["--help"], 0, "stdout", "--mode <mode>"),
    (["--frobnicate"], 2, "stderr", "Usage: scrimble"),
    (["--mode", "video"], 2, "stderr", "Usage: scrimble"),
    (["--lang", "fr"], 2, "stderr", "Usage: scrimble"),
]

env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
failed = 0
for arguments, code, stream, expected in CASES:
    run = subprocess.run([sys.argv[1]] + arguments, env=env, capture_output=True, text=True, timeout=30)
    text = getattr(run, stream)
    if run.returncode != code or expected not in text:
        print(f"FAIL {arguments}: exit {run.returncode}, {stream} {text!r}")
        failed += 1
# The shell redirects standard output: to a full device, or closes it.
UNWRITABLE = [("--version", ">/dev/full"), ("--help", ">/dev/full"), ("--version", ">&-"), ("--help", ">&-")]
for argument, redirection in UNWRITABLE:
    run = subprocess.run(["sh", "-c", f'"$0" {argument} {redirection}', sys.argv[1]],
                         env=env, capture_output=True, text=True, timeout=30)
    if run.returncode == 0 or "scrimble: write error" not in run.stderr:
        print(f"FAIL {argument} {redirection}: exit {run.returncode}, stderr {run.stderr!r}")
        failed += 1
sys.exit(1 if failed else 0)
