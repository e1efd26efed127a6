#!/usr/bin/env bash
# portable.sh ZIP: unpacks the portable Windows zip as a player would and
# starts its yopo.exe from there under Wine, which must open the window.
# Run under xvfb-run, in a Wine prefix.
set -euo pipefail
zip=$1
source "$(dirname "$0")/window_opens.sh"
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
unzip -q "$zip" -d "$folder"
window_opens "$(ls "$folder"/*/yopo.exe)"
