#!/bin/sh
# The window's screenshot tests once more on Wine's own display (a Wine session under Xvfb) with Qt's windows platform and
# style, so build-win/screenshots/ shows what a Windows user sees. Usage: windows-platform.sh WINE_RUN BIN_DIR
set -e
if [ -z "${DISPLAY:-}" ]; then
    echo "no display: run the Wine session under xvfb-run (make test-windows does)"
    exit 77
fi
run="$1"
bin="$2"
export QT_QPA_PLATFORM=windows
"$run" "$bin/MainWindowTest.exe" ScreenshotsOfARealReplay ScreenshotOfTheDemo
"$run" "$bin/DialogsTest.exe" ScreenshotsOfTheDialogs
"$run" "$bin/SummaryViewTest.exe" ScreenshotsOfARealReplay
"$run" "$bin/LibraryWindowTest.exe" ScreenshotsOfTheRealReplays
"$run" "$bin/WindowHabitsTest.exe" ReadableAtTheDefaultSize
