#!/usr/bin/env bash
# Unpacks the SQLite amalgamation (sqlite3.c, sqlite3.h) for the Windows build into the given folder. Debian has
# no MinGW build of SQLite; the amalgamation comes from the npm registry, inside a pinned better-sqlite3 package
# whose checksum is checked before anything is used.
set -euo pipefail
dest="$1"
package=better-sqlite3
version=12.11.1
sha256=ebf0ed75a7a59dbcb3b24bbd014ef49d9f15bc328e4adcbf516f2a8fadfa2835
[ -f "$dest/sqlite3.c" ] && [ -f "$dest/sqlite3.h" ] && exit 0
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
(cd "$work" && npm pack --silent "$package@$version" >/dev/null)
tarball="$work/$package-$version.tgz"
echo "$sha256  $tarball" | sha256sum --check --quiet
mkdir -p "$dest"
tar -xzf "$tarball" -C "$work" package/deps/sqlite3/sqlite3.c package/deps/sqlite3/sqlite3.h
mv "$work/package/deps/sqlite3/sqlite3.c" "$work/package/deps/sqlite3/sqlite3.h" "$dest/"
echo "SQLite $(grep -m1 '#define SQLITE_VERSION ' "$dest/sqlite3.h" | awk '{print $3}') from $package $version"
