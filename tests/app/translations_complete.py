"""Every text of the program has its English, and the English file holds no text the
program has dropped: lupdate reads the sources into a copy of the translation file,
which must then have no unfinished, vanished or obsolete entry.

usage: translations_complete.py LUPDATE SOURCE_FOLDER TS_FILE
"""
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree


def main():
    lupdate, sources, ts_file = sys.argv[1:4]
    with tempfile.TemporaryDirectory() as folder:
        copy = shutil.copy(ts_file, folder)
        subprocess.run([lupdate, sources, "-ts", copy, "-locations", "none", "-silent"], check=True)
        root = ElementTree.parse(copy).getroot()
    problems = []
    for context in root.iter("context"):
        for message in context.iter("message"):
            state = message.find("translation").get("type")
            if state in ("unfinished", "vanished", "obsolete"):
                source = "".join(message.find("source").itertext())
                problems.append(f"{context.findtext('name')}: {state}: {source!r}")
    if problems:
        sys.exit(f"{ts_file} needs work (lupdate {sources} -ts {ts_file}, then Qt Linguist):\n" + "\n".join(problems))
    print(f"{sum(1 for _ in root.iter('message'))} texts, all translated")


main()
