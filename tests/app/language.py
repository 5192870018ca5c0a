"""The language the program speaks, as a desktop starts it: the panel's title under
each locale and with --lang, read from the X server.

usage: language.py SCRIMBLE   (DISPLAY names a running X server)
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

JAPANESE = "コマンド(Scrimble)"
ENGLISH = "Commands (Scrimble)"
CASES = [
    ("English desktop", {"LANG": "en_US.UTF-8"}, [], ENGLISH),
    ("Japanese desktop", {"LANG": "ja_JP.UTF-8"}, [], JAPANESE),
    ("C locale", {"LANG": "C"}, [], JAPANESE),
    ("French, then English", {"LANG": "fr_FR.UTF-8", "LANGUAGE": "fr:en"}, [], ENGLISH),
    ("--lang en on a Japanese desktop", {"LANG": "ja_JP.UTF-8"}, ["--lang", "en"], ENGLISH),
]


def panel_title(scrimble, env):
    """The title of the program's window that ends in "(Scrimble)", once it is mapped."""
    deadline = time.monotonic() + 15
    while time.monotonic() < deadline:
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", r"\(Scrimble\)$"],
                               capture_output=True, text=True, env=env)
        for window in found.stdout.split():
            name = subprocess.run(["xdotool", "getwindowname", window], capture_output=True, text=True, env=env)
            return name.stdout.strip()
        time.sleep(0.2)
    return None


def main():
    failures = []
    for name, locale, arguments, expected in CASES:
        with tempfile.TemporaryDirectory() as folder:
            scrimble = shutil.copy(sys.argv[1], folder)
            env = {k: v for k, v in os.environ.items() if not k.startswith(("LANG", "LC_"))}
            env.update(locale, XDG_RUNTIME_DIR=folder, XDG_CONFIG_HOME=folder, QT_QPA_PLATFORM="xcb")
            program = subprocess.Popen([scrimble, "--mode", "capture"] + arguments, cwd=folder, env=env,
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            try:
                title = panel_title(scrimble, env)
            finally:
                program.terminate()
                program.wait()
            if title != expected:
                failures.append(f"{name}: the panel is titled {title!r}, not {expected!r}")
    if failures:
        sys.exit("\n".join(failures))
    print(f"{len(CASES)} passed, 0 failed")


main()
