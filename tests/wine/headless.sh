#!/usr/bin/env bash
# headless.sh SCRIPT EXPECTED: yopo-headless.exe under Wine replays a whole game
# to the very transcript the Linux runner gives.
set -euo pipefail
script=$1 expected=$2
actual=$(mktemp)
trap 'rm -f "$actual"' EXIT
wine "$YOPO_WINDOWS_BUILD/replay/yopo-headless.exe" < "$script" > "$actual"
if ! cmp -s "$actual" "$expected"; then
    echo "yopo-headless.exe differs from $expected:" >&2
    diff "$expected" "$actual" | head -20 >&2
    exit 1
fi
echo "same transcript as $(basename "$expected")"
