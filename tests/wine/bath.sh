#!/usr/bin/env bash
# bath.sh WINDOWS_YOPO: yopo.exe's bath outlives a kill, not the player's
# close (kill.sh), kept in the prefix's %LOCALAPPDATA%\ヨポ\bath. Run under
# xvfb-run.
set -euo pipefail
: "${WINEPREFIX:?}"
record="$WINEPREFIX/drive_c/users/${USER:-$(id -un)}/AppData/Local/ヨポ/bath"
YOPO_TIME_SCALE=100 exec "$(dirname "$0")/../bath/kill.sh" "$record" wine "$1"
