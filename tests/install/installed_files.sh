#!/usr/bin/env bash
# `cmake --install` into a fresh prefix: the program, the desktop entry with its two
# actions, the icon and the metainfo, each valid by the freedesktop tools; the
# installed program answers --version.
# usage: installed_files.sh BUILD_DIR
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
for file in bin/scrimble share/applications/scrimble.desktop share/icons/hicolor/scalable/apps/scrimble.svg \
            share/metainfo/io.github.scrimble.metainfo.xml; do
  [[ -e "$prefix/$file" ]] || { echo "missing after install: $file"; exit 1; }
done
desktop-file-validate "$prefix/share/applications/scrimble.desktop"
grep -qx "Exec=$prefix/bin/scrimble" "$prefix/share/applications/scrimble.desktop"
grep -qx "Exec=$prefix/bin/scrimble --mode capture" "$prefix/share/applications/scrimble.desktop"
grep -qx "Exec=$prefix/bin/scrimble --mode autosave" "$prefix/share/applications/scrimble.desktop"
grep -qx 'X-KDE-DBUS-Restricted-Interfaces=org.kde.KWin.ScreenShot2' "$prefix/share/applications/scrimble.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/io.github.scrimble.metainfo.xml" >/dev/null
[[ "$(env -u DISPLAY "$prefix/bin/scrimble" --version)" == "Scrimble 3.3.2" ]]
echo "installed files valid"
