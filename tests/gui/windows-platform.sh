#!/bin/sh
# The window's screenshot tests once more on Wine's own display (run under xvfb-run) with Qt's windows platform and
# style, so build-win/screenshots/ shows what a Windows user sees. Usage: windows-platform.sh WINE_RUN BIN_DIR
set -e
run="$1"
bin="$2"
export QT_QPA_PLATFORM=windows
"$run" "$bin/MainWindowTest.exe" ScreenshotsOfARealReplay ScreenshotOfTheDemo
"$run" "$bin/DialogsTest.exe" ScreenshotsOfTheDialogs
"$run" "$bin/SummaryViewTest.exe" ScreenshotsOfARealReplay
"$run" "$bin/LibraryWindowTest.exe" ScreenshotsOfTheRealReplays
