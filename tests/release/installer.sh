#!/usr/bin/env bash
# installer.sh SETUP_EXE VERSION APP_ID: installs ヨポ as a player would, with
# /S, in a fresh Wine prefix, and finds yopo.exe under the player's folders,
# the Start menu shortcut ヨポ and the uninstall entry ヨポ VERSION, and the
# installed game's window. Installed again over itself, then uninstalled
# with /S, none of them is left, and the player's kept bath is.
# Run under xvfb-run, with WINEPREFIX set to a folder it may empty.
set -euo pipefail
setup=$1 version=$2 app_id=$3
: "${WINEPREFIX:?}"
source "$(dirname "$0")/window_opens.sh"

wineserver -k 2>/dev/null || true
rm -rf "$WINEPREFIX"
DISPLAY= WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i
wineserver -w

user=$WINEPREFIX/drive_c/users/${USER:-$(id -un)}
program="$user/AppData/Local/Programs/ヨポ/yopo.exe"
shortcut="$user/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/ヨポ.lnk"
kept_bath="$user/AppData/Local/ヨポ/kept"
# user.reg writes every character beyond ASCII as \xNNNN: ヨポ is \x30e8\x30dd.
key="[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Uninstall\\\\$app_id]"
entry() { key=$key awk 'index($0, ENVIRON["key"]) == 1 { inside = 1; next } /^\[/ { inside = 0 } inside' "$WINEPREFIX/user.reg"; }

failures=0
expect() {
    if "${@:2}"; then echo "ok: $1"; else echo "FAILED: $1" >&2; failures=$((failures + 1)); fi
}
install() { wine "$setup" /S; wineserver -w; }

install
expect "yopo.exe under the player's folders" test -f "$program"
expect "Start menu shortcut ヨポ" test -f "$shortcut"
expect "uninstall entry named ヨポ" grep -qxF '"DisplayName"="\x30e8\x30dd"' <(entry)
expect "uninstall entry at version $version" grep -qxF "\"DisplayVersion\"=\"$version\"" <(entry)
expect "the installed game opens its window" window_opens "$program"
wineserver -w

mkdir -p "$(dirname "$kept_bath")"
echo "a bath" > "$kept_bath"
install
wine "$(dirname "$program")/uninstall.exe" /S
wineserver -w
expect "no yopo.exe left" test ! -e "$program"
expect "no folder left" test ! -e "$(dirname "$program")"
expect "no shortcut left" test ! -e "$shortcut"
expect "no uninstall entry left" test -z "$(entry)"
expect "the kept bath stays" test -f "$kept_bath"
[ "$failures" -eq 0 ]
