#!/usr/bin/env bash
# `cmake --install` into a fresh prefix: the program, the desktop entry with its three
# actions, the icon, the metainfo and the manual page, each valid by the freedesktop
# tools and man; the installed program answers --version.
# usage: installed_files.sh BUILD_DIR
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
for file in bin/scrimble share/applications/scrimble.desktop share/icons/hicolor/scalable/apps/scrimble.svg \
            share/metainfo/io.github.scrimble.metainfo.xml share/man/man1/scrimble.1.gz \
            share/doc/scrimble/copyright share/doc/scrimble/changelog.gz; do
  [[ -e "$prefix/$file" ]] || { echo "missing after install: $file"; exit 1; }
done
desktop-file-validate "$prefix/share/applications/scrimble.desktop"
grep -qx "Exec=$prefix/bin/scrimble" "$prefix/share/applications/scrimble.desktop"
grep -qx "Exec=$prefix/bin/scrimble --mode capture" "$prefix/share/applications/scrimble.desktop"
grep -qx "Exec=$prefix/bin/scrimble --mode autosave" "$prefix/share/applications/scrimble.desktop"
grep -qx "Exec=$prefix/bin/scrimble --grab" "$prefix/share/applications/scrimble.desktop"
[[ -z "$(MANWIDTH=80 man --warnings -l "$prefix/share/man/man1/scrimble.1.gz" 2>&1 >/dev/null)" ]]
grep -qx 'X-KDE-DBUS-Restricted-Interfaces=org.kde.KWin.ScreenShot2' "$prefix/share/applications/scrimble.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/io.github.scrimble.metainfo.xml" >/dev/null
[[ "$(env -u DISPLAY "$prefix/bin/scrimble" --version)" == "Scrimble 3.3.2" ]]
echo "installed files valid"
