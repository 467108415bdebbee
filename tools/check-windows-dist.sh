#!/usr/bin/env bash
# CI: the Windows packages work under Wine. The portable zip holds what it should and its quillon-cli.exe reads a
# real replay (a writer-made one where there is no corpus) from a fresh folder. The installer installs silently per
# user, the installed quillon.exe starts on the replay and ties .w3g files to itself, and the silent uninstall takes
# the programs, the Start menu entry, the association and the Apps entry away, and keeps the user's settings.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$(realpath "$1")"
zip="$(ls "$build"/Quillon-*-win64.zip | head -1)"
setup="$(ls "$build"/Quillon-*-setup.exe | head -1)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "check-windows-dist: $*" >&2; exit 1; }

unzip -q "$zip" -d "$work"
folder="$(dirname "$(ls "$work"/*/quillon-cli.exe)")"
expected="$(printf 'LICENSE.txt\nQuillon.ini\nREADME.txt\nTHIRD-PARTY-NOTICES.txt\nquillon-cli.exe\nquillon.exe')"
[ "$(ls "$folder")" = "$expected" ] || fail "unexpected files in the zip: $(ls "$folder" | tr '\n' ' ')"
replay="$(ls "$here"/../../shared/replays/*.w3g 2>/dev/null | head -1 || true)"
if [ -z "$replay" ]; then
    replay="$work/demo.w3g"
    "$here"/../build/bin/quillon-demo-replay "$replay"
fi
replay="$(realpath "$replay")"
export QUILLON_CHECK_REPLAY="$replay" QUILLON_CHECK_SETUP="$setup" QUILLON_CHECK_CLI="$folder/quillon-cli.exe"
"$here"/wine-session.sh "$build" bash "$here/windows/check-install.sh"
echo "check-windows-dist: $(basename "$zip") read $(basename "$replay"); $(basename "$setup") installed and removed"
