#!/usr/bin/env bash
# CI: the zipped quillon-cli.exe runs on its own under Wine (in a fresh folder, nothing beside it) and reads a real
# replay from the shared corpus, or a writer-made one where there is no corpus.
set -euo pipefail
build="$(realpath "$1")"
zip="$(ls "$build"/Quillon-*-win64-cli.zip | head -1)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
unzip -q "$zip" -d "$work"
exe="$(ls "$work"/*/quillon-cli.exe)"
[ "$(ls "$(dirname "$exe")")" = "$(printf 'README.txt\nquillon-cli.exe')" ] || { echo "check-windows-dist: unexpected files"; exit 1; }
replay="$(ls "$(dirname "$0")"/../../shared/replays/*.w3g 2>/dev/null | head -1 || true)"
if [ -z "$replay" ]; then
    replay="$work/demo.w3g"
    "$(dirname "$0")"/../build/bin/quillon-demo-replay "$replay"
fi
replay="$(realpath "$replay")"
out="$("$(dirname "$0")"/wine-session.sh "$build" wine "$exe" info "Z:$replay")"
grep -q "Game Version" <<<"$out" || { echo "check-windows-dist: no game information for $replay"; echo "$out"; exit 1; }
echo "check-windows-dist: $(basename "$zip") read $(basename "$replay") under Wine"
