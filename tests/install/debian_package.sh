#!/usr/bin/env bash
# The .deb from CPack: lintian finds no error and no warning in it; installed with apt
# (which must find every dependency that dpkg-shlibdeps wrote), run, its manual page
# shown by man, and removed again. Needs root and apt: skipped (77)
# elsewhere, and when a scrimble package is already installed, which it leaves alone.
# usage: debian_package.sh BUILD_DIR
set -euo pipefail
build=$1
if [[ $(id -u) -ne 0 ]] || ! command -v apt-get >/dev/null; then
  echo "skipped: installing a package needs root and apt"; exit 77
fi
if dpkg-query -W -f='${Status}' scrimble 2>/dev/null | grep -q 'install ok installed'; then
  echo "skipped: a scrimble package is installed already"; exit 77
fi
work=$(mktemp -d)
trap 'apt-get remove -y -q scrimble >/dev/null 2>&1 || true; rm -rf "$work"' EXIT
(cd "$work" && cpack --config "$build/CPackConfig.cmake" >/dev/null)
deb=$(ls "$work"/scrimble_*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
[[ "$depends" == *libqt6widgets6* && "$depends" == *libpng* && "$depends" == *libjpeg* ]] \
  || { echo "dependencies not computed: $depends"; exit 1; }
[[ "$depends" == *"fonts-ipafont-gothic | fonts-noto-cjk | fonts-vlgothic"* && "$depends" == *qt6-translations-l10n* ]] \
  || { echo "no Japanese face or Qt translations among the dependencies: $depends"; exit 1; }
lintian --fail-on error,warning --suppress-tags-from-file /dev/null "$deb" >"$work/lintian.txt" 2>&1 \
  || { echo "lintian:"; cat "$work/lintian.txt"; exit 1; }
! grep -E '^[EW]: ' "$work/lintian.txt" || exit 1
recommends=$(dpkg-deb -f "$deb" Recommends)
[[ "$recommends" == "xwayland, xdg-desktop-portal, wl-clipboard" ]] || { echo "recommends: $recommends"; exit 1; }
DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "$deb" >/dev/null
[[ "$(env -u DISPLAY /usr/bin/scrimble --version)" == "Scrimble 3.3.2" ]]
[[ -e /usr/share/applications/scrimble.desktop ]]
MANWIDTH=80 man scrimble | grep -q -- '--grab'
apt-get remove -y -q scrimble >/dev/null
[[ ! -e /usr/bin/scrimble ]]
echo "package installs, runs and goes again: $(basename "$deb")"
