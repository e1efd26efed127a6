#!/usr/bin/env bash
# window.sh LINUX_YOPO WINDOWS_YOPO OUT_DIR: both front ends open their window on
# the same X screen, the player opens the tap in each with Enter and closes it
# with a click, and screenshots of each client area show the same key pixels
# (tub lines, balloon, tap, panel, the portrait; the water and the stream as
# the tap opens and closes) within kTolerance per channel.
# Run under xvfb-run; leaves the screenshots in OUT_DIR.
set -euo pipefail
# Every run starts a new bath, whatever an earlier test left kept.
rm -rf "${WINEPREFIX:?}"/drive_c/users/*/AppData/Local/ヨポ
linux=$1 windows=$2 out=$3
mkdir -p "$out"
# Flat colours must match exactly but for a rounding; the portrait is
# decoded by two JPEG decoders (Qt's libjpeg, Windows' WIC).
kTolerance=8
kPictureTolerance=40
# Command1's centre in the client area, in pixels (5655 + 1215/2, 3600 + 375/2 twips).
kCommand1=(417 252)
# The real ImageMagick, not a stand-in earlier on the PATH.
convert=$(command -v /usr/bin/convert || command -v convert)

pids=()
cleanup() { for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done; }
trap cleanup EXIT

# shoot NAME COMMAND...: runs a front end, screenshots it before and after
# the tap opens, then closes it.
shoot() {
    local name=$1
    shift
    "$@" > "$out/$name.log" 2>&1 &
    local pid=$!
    pids+=("$pid")
    local window=""
    for _ in $(seq 1 150); do
        window=$(xdotool search --onlyvisible --name '^ヨポ$' 2>/dev/null | head -1) || true
        [ -n "$window" ] && break
        sleep 0.2
    done
    if [ -z "$window" ]; then
        echo "$name: no window appeared" >&2
        cat "$out/$name.log" >&2
        exit 1
    fi
    sleep 1.5
    import -window "$window" "$out/$name-start.png"
    # Command1 has the focus as the window opens: Enter opens the tap...
    xdotool key --window "$window" Return
    sleep 1.5
    import -window "$window" "$out/$name-tap.png"
    # ...and a click on it closes the tap again.
    xdotool mousemove --window "$window" "${kCommand1[@]}" click 1
    sleep 1.5
    import -window "$window" "$out/$name-closed.png"
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}

QT_QPA_PLATFORM=xcb shoot linux "$linux"
shoot windows wine "$windows"

pixel() { "$convert" "$1" -format "%[fx:int(255*p{$2,$3}.r)] %[fx:int(255*p{$2,$3}.g)] %[fx:int(255*p{$2,$3}.b)]" info:; }

failures=0
# check SHOT X Y TOLERANCE EXPECTED(r g b or "any") WHAT
check() {
    local shot=$1 x=$2 y=$3 tolerance=$4 expected=$5 what=$6
    local l w
    l=$(pixel "$out/linux-$shot.png" "$x" "$y")
    w=$(pixel "$out/windows-$shot.png" "$x" "$y")
    local verdict
    verdict=$(awk -v l="$l" -v w="$w" -v e="$expected" -v t="$tolerance" 'BEGIN {
        split(l, a, " "); split(w, b, " "); split(e, c, " ");
        for (i = 1; i <= 3; i++) {
            d = a[i] - b[i]; if (d < 0) d = -d; if (d > t) { print "front ends differ"; exit }
            if (e != "any") { d = b[i] - c[i]; if (d < 0) d = -d; if (d > t) { print "not the layout colour"; exit } }
        }
        print "ok" }')
    printf '%-5s %-28s (%3d,%3d) linux %-11s windows %-11s %s\n' "$shot" "$what" "$x" "$y" "$l" "$w" "$verdict"
    [ "$verdict" = ok ] || failures=$((failures + 1))
}

brown="128 64 64" white="255 255 255" black="0 0 0" grey="224 224 224" water="192 255 255"
for shot in start tap closed; do
    check $shot 200 192 $kTolerance "$brown" "tub, back rim"
    check $shot 200 200 $kTolerance "$brown" "tub, front rim"
    check $shot 24 260 $kTolerance "$brown" "tub, front left edge"
    check $shot 328 260 $kTolerance "$brown" "tub, back right edge"
    check $shot 150 24 $kTolerance "$black" "balloon, top border"
    check $shot 150 100 $kTolerance "$white" "balloon, inside"
    check $shot 352 96 $kTolerance "$black" "balloon, tail's point"
    check $shot 50 164 $kTolerance "$grey" "tap, pipe"
    check $shot 365 230 $kTolerance "$grey" "buttons' panel"
    check $shot 430 20 $kPictureTolerance any "portrait"
done
check start 200 332 $kTolerance "$white" "no water yet"
check start 76 250 $kTolerance "$white" "no stream yet"
check tap 200 332 $kTolerance "$water" "water, tap open"
check tap 76 250 $kTolerance "$water" "stream, tap open"
check closed 200 332 $kTolerance "$water" "water, tap closed"
check closed 76 250 $kTolerance "$white" "no stream, tap closed"

echo "screenshots in $out"
[ "$failures" -eq 0 ] || { echo "$failures key pixels differ" >&2; exit 1; }
