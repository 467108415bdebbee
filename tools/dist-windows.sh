#!/usr/bin/env bash
# The Windows packages of a build: BUILD/Quillon-VERSION-win64.zip (portable: both programs, a Quillon.ini that keeps
# the settings beside them, README, licence and third-party notices) and BUILD/Quillon-VERSION-setup.exe (NSIS,
# per user). Each program must stand alone: no DLL beyond those every Windows has.
set -euo pipefail
build="$1"
here="$(cd "$(dirname "$0")" && pwd)"
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")"
name="Quillon-$version-win64"
stage="$build/dist/$name"

rm -rf "$build/dist" "$build/$name.zip" "$build/Quillon-$version-setup.exe"
mkdir -p "$stage"
for program in quillon quillon-cli; do
    x86_64-w64-mingw32-strip -o "$stage/$program.exe" "$build/bin/$program.exe"
    # Only system DLLs may be imported: KERNEL32, the C runtime and the like, never a MinGW runtime or Qt.
    imports="$(x86_64-w64-mingw32-objdump -p "$stage/$program.exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')"
    for dll in $imports; do
        case "$dll" in
        kernel32.dll | user32.dll | gdi32.dll | advapi32.dll | shell32.dll | ole32.dll | oleaut32.dll | msvcrt.dll | \
            comdlg32.dll | imm32.dll | winmm.dll | ws2_32.dll | uxtheme.dll | dwmapi.dll | shlwapi.dll | version.dll | \
            netapi32.dll | userenv.dll | mpr.dll | winspool.drv | d3d9.dll | d3d11.dll | dxgi.dll | d2d1.dll | \
            dwrite.dll | dnsapi.dll | iphlpapi.dll | authz.dll | setupapi.dll | wtsapi32.dll | crypt32.dll | \
            secur32.dll | bcrypt.dll | ncrypt.dll | shcore.dll | winhttp.dll | api-ms-win-*) ;;
        *) echo "$program.exe needs $dll beside it" >&2; exit 1 ;;
        esac
    done
done
# Explorer shows the window program's own icon (a group icon resource) and version.
resources="$(x86_64-w64-mingw32-objdump -p "$stage/quillon.exe")"
for type in 0x00000e 0x000010; do
    grep -q "Entry: ID: $type," <<<"$resources" || { echo "quillon.exe lacks its icon or version resource" >&2; exit 1; }
done
crlf() { sed 's/$/\r/'; }
sed "s/@VERSION@/$version/" "$here/windows/README.txt" | crlf > "$stage/README.txt"
crlf < "$here/../LICENSE" > "$stage/LICENSE.txt"
"$here/windows/notices.sh" | crlf > "$stage/THIRD-PARTY-NOTICES.txt"

# The installer takes the stage as it is; the portable zip adds the Quillon.ini that keeps it portable.
makensis -V2 -DVERSION="$version" -DSTAGE="$(realpath "$stage")" -DOUTFILE="$(realpath "$build")/Quillon-$version-setup.exe" \
    -DICON="$(realpath "$build")/src/app/quillon.ico" "$here/windows/quillon.nsi"
printf '; Settings of this portable Quillon: kept beside the programs while this file is here.\r\n' > "$stage/Quillon.ini"
(cd "$build/dist" && zip -q -r "../$name.zip" "$name")
echo "$build/$name.zip"
echo "$build/Quillon-$version-setup.exe"
