#!/usr/bin/env bash
# screen_reader.sh PROBE WINDOWS_YOPO: yopo.exe as a Windows screen reader
# finds it under Wine (tests/win32/screen_reader.cpp): the accessible tree as
# the game changes it, and each new message heard from the message's live
# region. Run under xvfb-run; says what Wine leaves out.
set -euo pipefail
# Every run starts a new bath, whatever an earlier test left kept.
rm -rf "${WINEPREFIX:?}"/drive_c/users/*/AppData/Local/ヨポ
probe=$1 windows=$2
wine "$probe" "$(winepath -w "$windows")" | tr -d '\r'
