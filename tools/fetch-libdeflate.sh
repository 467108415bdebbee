#!/usr/bin/env bash
# libdeflate for the Windows build: Debian has no MinGW package, so its source package (the same deb-src entry Qt
# for Windows uses; version pinned to the host's libdeflate-dev) is unpacked into DIR, once.
set -euo pipefail
dir="$1"
version=1.14-1
if [ -f "$dir/.version" ] && [ "$(cat "$dir/.version")" = "$version" ]; then
    exit 0
fi
rm -rf "$dir"
mkdir -p "$dir"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
(cd "$work" && apt-get source -qq "libdeflate=$version" >/dev/null 2>&1) ||
    { echo "fetch-libdeflate: apt-get source libdeflate=$version failed (is there a deb-src entry?)" >&2; exit 1; }
cp -r "$work"/libdeflate-*/lib "$work"/libdeflate-*/libdeflate.h "$work"/libdeflate-*/common_defs.h \
    "$work"/libdeflate-*/COPYING "$dir/"
echo "$version" > "$dir/.version"
echo "fetch-libdeflate: libdeflate $version in $dir"
