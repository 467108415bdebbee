#!/usr/bin/env bash
# CI: the Debian package holds what a desktop needs, installs on this machine, and its programs run.
set -euo pipefail
build=${1:-build}
deb=$(ls "$build"/quillon_*.deb | head -1)
contents=$(dpkg-deb --contents "$deb")
for path in ./usr/bin/quillon ./usr/bin/quillon-cli \
    ./usr/share/applications/io.github.quillon.Quillon.desktop \
    ./usr/share/mime/packages/io.github.quillon.Quillon.xml \
    ./usr/share/metainfo/io.github.quillon.Quillon.metainfo.xml \
    ./usr/share/icons/hicolor/scalable/apps/io.github.quillon.Quillon.svg \
    ./usr/share/icons/hicolor/256x256/apps/io.github.quillon.Quillon.png \
    ./usr/share/man/man1/quillon-cli.1.gz ./usr/share/doc/quillon/copyright; do
    grep -q " $path\$" <<<"$contents" || { echo "check-package: $deb lacks $path"; exit 1; }
done
dpkg-deb --field "$deb" Depends | grep -q libqt6widgets6 || { echo "check-package: no Qt dependency"; exit 1; }
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
# Debian's own package checker: no errors (warnings are shown).
if ! command -v lintian >/dev/null; then
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends lintian >/dev/null
fi
lintian --fail-on error "$deb" 2>&1 | grep -v "running with root privileges" || true
lintian --fail-on error "$deb" >/dev/null 2>&1 || { echo "check-package: lintian finds errors in $deb"; exit 1; }
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "./$deb" > /dev/null
echo "check-package: installed $(basename "$deb"), quillon-cli $(/usr/bin/quillon-cli --version)"
