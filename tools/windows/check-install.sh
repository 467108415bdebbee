#!/usr/bin/env bash
# Run by check-windows-dist.sh inside a Wine session: the portable CLI, then the installer's round trip.
set -euo pipefail
fail() { echo "check-install: $*" >&2; exit 1; }
win() { wine "$@" </dev/null 2>/dev/null; }
regvalue() { win reg query "$1" /ve 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ[[:space:]]*//p'; }
exists() { win reg query "$1" >/dev/null 2>&1; }

out="$(win "$QUILLON_CHECK_CLI" info "Z:$QUILLON_CHECK_REPLAY")"
grep -q "Game Version" <<<"$out" || fail "the portable quillon-cli.exe shows no game information"

local_app="$(winepath -u "$(win cmd /c echo %LOCALAPPDATA% | tr -d '\r')")"
app_data="$(winepath -u "$(win cmd /c echo %APPDATA% | tr -d '\r')")"
dir="$local_app/Programs/Quillon"
menu="$app_data/Microsoft/Windows/Start Menu/Programs/Quillon/Quillon.lnk"
uninstall='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillon'
win reg delete 'HKCU\Software\Classes\.w3g' /f >/dev/null 2>&1 || true

win "$QUILLON_CHECK_SETUP" /S
for f in quillon.exe quillon-cli.exe Uninstall.exe LICENSE.txt THIRD-PARTY-NOTICES.txt; do
    [ -f "$dir/$f" ] || fail "no $f in $dir"
done
[ ! -f "$dir/Quillon.ini" ] || fail "the installed programs keep their settings in the user's folder"
[ -f "$menu" ] || fail "no Start menu entry"
exists "$uninstall" || fail "not listed under Apps"

# The installed window starts on the replay and ties .w3g files to itself for the user.
mkdir -p "$app_data/Quillon"
printf '[general]\r\nlanguage=1\r\n' > "$app_data/Quillon/Quillon.ini"
WINEQT_QPA_PLATFORM=offscreen wine "$dir/quillon.exe" "Z:$QUILLON_CHECK_REPLAY" </dev/null >/dev/null 2>&1 &
window=$!
for _ in $(seq 60); do
    [ "$(regvalue 'HKCU\Software\Classes\.w3g')" = Quillon ] && break
    sleep 0.5
done
kill -0 "$window" 2>/dev/null || fail "quillon.exe ended by itself"
kill "$window"
[ "$(regvalue 'HKCU\Software\Classes\.w3g')" = Quillon ] || fail "quillon.exe did not tie .w3g to itself"
grep -q '"%1"' <<<"$(win reg query 'HKCU\Software\Classes\Quillon\shell\open\command' /ve | tr -d '\r')" ||
    fail "no open command"

# The uninstaller runs a copy of itself and returns at once: wait for it.
win "$dir/Uninstall.exe" /S
for _ in $(seq 60); do
    [ ! -e "$dir" ] && break
    sleep 0.5
done
[ ! -e "$dir" ] || fail "$dir is still there"
[ ! -e "$menu" ] || fail "the Start menu entry is still there"
! exists "$uninstall" || fail "still listed under Apps"
! exists 'HKCU\Software\Classes\Quillon' || fail "the file class is still there"
[ -z "$(regvalue 'HKCU\Software\Classes\.w3g')" ] || fail ".w3g still names Quillon"
[ -f "$app_data/Quillon/Quillon.ini" ] || fail "the user's settings went with the program"
echo "check-install: installed into $dir, started, associated, removed; settings kept"
