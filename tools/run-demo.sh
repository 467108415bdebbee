#!/usr/bin/env bash
# make run: opens the window on the demo replay, or shows the demo through the CLI where there is no display.
set -euo pipefail
build=$1
demo=$2
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$build/bin/quillon" "$demo"
fi
echo "No display here (DISPLAY and WAYLAND_DISPLAY are unset), so the window cannot open."
echo "This is the demo replay as the window would show it:"
echo
"$build/bin/quillon-cli" info --detail 2 "$demo"
echo
"$build/bin/quillon-cli" actions --per-page 20 "$demo"
echo
echo "To see the window, run 'make run' in a desktop session, or on this machine through a virtual display:"
echo "    xvfb-run -a $build/bin/quillon $demo"
