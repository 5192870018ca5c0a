"""The manual page renders without a warning from man, and it lists the same options
as --help: each option named at the start of a line of --help's list, and each
option that heads an entry of the page's OPTIONS section.

usage: manual_page.py SCRIMBLE PAGE
"""
import os
import re
import subprocess
import sys

program, page = sys.argv[1:3]
env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
env.update(MANWIDTH="80", LC_ALL="C.UTF-8")
failed = []

shown = subprocess.run(["man", "--warnings", "-l", page], env=env, capture_output=True, text=True, timeout=60)
if shown.returncode != 0 or shown.stderr or "--grab" not in shown.stdout:
    failed.append(f"man -l {page}: exit {shown.returncode}, warnings {shown.stderr!r}")

usage = subprocess.run([program, "--help"], env=env, capture_output=True, text=True, timeout=30).stdout
in_help = set(re.findall(r"^  (?:(-\w), )?(--[\w-]+)", usage, re.MULTILINE))
in_help = {name for pair in in_help for name in pair if name}

with open(page, encoding="utf-8") as source:
    text = source.read()
options = text.split("\n.SH OPTIONS\n", 1)[1].split("\n.SH ", 1)[0]
headings = re.findall(r"^\.TP\n(.*)$", options, re.MULTILINE)
in_page = set()
for heading in headings:
    in_page.update(name.replace("\\-", "-") for name in re.findall(r"(\\-\\-[\w\\-]+|\\-\w\b)", heading))

if in_help != in_page:
    failed.append(f"only in --help: {sorted(in_help - in_page)}; only in the page: {sorted(in_page - in_help)}")
for problem in failed:
    print("FAIL", problem)
print(f"{len(in_help)} options in both")
sys.exit(1 if failed else 0)
