#!/usr/bin/env bash
# prefix.sh: a fresh Wine prefix for the Windows tests, made once per test run
# inside the build directory (wineboot is the slow part of Wine's first start).
set -euo pipefail
: "${WINEPREFIX:?}"
wineserver -k 2>/dev/null || true
rm -rf "$WINEPREFIX"
mkdir -p "$(dirname "$WINEPREFIX")"
# No display, and no Mono or Gecko installers: the game needs neither.
DISPLAY= WINEDLLOVERRIDES="mscoree,mshtml=" wineboot -i
wineserver -w
echo "wine prefix ready: $WINEPREFIX"
