#!/usr/bin/env bash
# Runs a command with the Windows build's Wine prefix ready and one Wine server kept running for its whole length,
# so each Windows program it starts takes milliseconds instead of seconds. Usage: wine-session.sh BUILD COMMAND...
set -euo pipefail
build="$(realpath "$1")"
shift
export WINEPREFIX="$build/wine-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$build"
wineserver -k 2>/dev/null || true # a server left by an interrupted session
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Making the Wine prefix $WINEPREFIX"
    wineboot --init >/dev/null 2>&1 || true
fi
# Windows programs on Wine's own display find a CJK font where Windows keeps them.
fonts="$WINEPREFIX/drive_c/windows/Fonts"
if [ -d "$fonts" ] && [ -f /usr/share/fonts/truetype/wqy/wqy-microhei.ttc ] && [ ! -f "$fonts/wqy-microhei.ttc" ]; then
    cp /usr/share/fonts/truetype/wqy/wqy-microhei.ttc "$fonts/"
fi
# Wine has no Arial, the window's Latin font; Liberation Sans has its metrics, as Arial has on Windows. Without it
# Wine's stand-in draws labels but leaves line edits blank.
if ! grep -q '"Arial"="Liberation Sans"' "$WINEPREFIX/user.reg" 2>/dev/null; then
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /d 'Liberation Sans' /f >/dev/null 2>&1
fi
wineserver -w # wineboot's server ends on its own (saving the registry) before ours starts
wineserver -p # detaches once it is listening, and stays until killed
trap 'wineserver -k 2>/dev/null || true' EXIT
# Wine's own services start with the first program and stay; started here, they hold no pipe of a build step
# or test open (the build tool would wait on them for ever).
wine cmd /c exit </dev/null >/dev/null 2>&1
"$@"
