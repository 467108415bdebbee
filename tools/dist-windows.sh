#!/usr/bin/env bash
# Packs the Windows build's quillon-cli.exe with its README into BUILD/Quillon-VERSION-win64-cli.zip, after checking
# that it stands alone: no DLL beyond those every Windows has.
set -euo pipefail
build="$1"
exe="$build/bin/quillon-cli.exe"
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")"
name="Quillon-$version-win64-cli"
stage="$build/dist/$name"

rm -rf "$build/dist" "$build/$name.zip"
mkdir -p "$stage"
x86_64-w64-mingw32-strip -o "$stage/quillon-cli.exe" "$exe"
# Only system DLLs may be imported: KERNEL32, the C runtime and the like, never a MinGW runtime.
imports="$(x86_64-w64-mingw32-objdump -p "$stage/quillon-cli.exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')"
for dll in $imports; do
    case "$dll" in
    kernel32.dll | user32.dll | advapi32.dll | shell32.dll | ole32.dll | msvcrt.dll | api-ms-win-*) ;;
    *) echo "quillon-cli.exe needs $dll beside it" >&2; exit 1 ;;
    esac
done
sed "s/@VERSION@/$version/" tools/windows-readme.txt | sed 's/$/\r/' > "$stage/README.txt"
(cd "$build/dist" && zip -q -r "../$name.zip" "$name")
echo "$build/$name.zip"
