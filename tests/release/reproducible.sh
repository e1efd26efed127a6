#!/usr/bin/env bash
# reproducible.sh SOURCE WORK: builds yopo.exe with its installer and zip
# twice, as a release does (the release-windows preset), in two build folders
# of different paths under WORK, and finds them alike to the byte.
set -euo pipefail
source=$1 work=$2
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$source" log -1 --format=%ct 2>/dev/null || echo 1796688000)}
export TZ=UTC
# Both compiled for real: a compiler cache that ignores where a file lies
# would hand the second build the first one's objects.
export CCACHE_DISABLE=1
rm -rf "$work"
builds=("$work/one" "$work/the-second-build")
for build in "${builds[@]}"; do
    cmake -S "$source" --preset release-windows -B "$build" >/dev/null
    cmake --build "$build" --target windows-downloads >/dev/null
done
version=$(sed -n 's/^project(yopo VERSION \([^ ]*\) .*/\1/p' "$source/CMakeLists.txt")
failures=0
for file in app/win32/yopo.exe dist/yopo-"$version"-windows.zip dist/yopo-"$version"-setup.exe; do
    if cmp "${builds[0]}/$file" "${builds[1]}/$file"; then
        echo "alike: $file"
    else
        failures=$((failures + 1))
    fi
done
[ "$failures" -eq 0 ] && rm -rf "$work"
[ "$failures" -eq 0 ]
