#!/usr/bin/env bash
# hidpi.sh DPI WINDOWS_YOPO OUT_DIR: with Wine's screen at DPI dots to the inch,
# yopo.exe's client area is the layout scaled by DPI / 96, one-pixel lines stay
# one device pixel wide and thick ones scale. Run under xvfb-run; it sets the
# prefix's DPI for its own run and puts it back to 96 after.
set -euo pipefail
# Every run starts a new bath, whatever an earlier test left kept.
rm -rf "${WINEPREFIX:?}"/drive_c/users/*/AppData/Local/ヨポ
dpi=$1 windows=$2 out=$3
mkdir -p "$out"
convert=$(command -v /usr/bin/convert || command -v convert)

setDpi() {
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f > /dev/null 2>&1
    wine reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' \
        /v LogPixels /t REG_DWORD /d "$1" /f > /dev/null 2>&1
}
pid=""
finish() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    setDpi 96
}
trap finish EXIT
setDpi "$dpi"

wine "$windows" > "$out/windows-$dpi.log" 2>&1 &
pid=$!
window=""
for _ in $(seq 1 150); do
    window=$(xdotool search --onlyvisible --name '^ヨポ$' 2>/dev/null | head -1) || true
    [ -n "$window" ] && break
    sleep 0.2
done
[ -n "$window" ] || { echo "no window appeared" >&2; exit 1; }
sleep 1.5
shot="$out/windows-$dpi.png"
import -window "$window" "$shot"

# A layout pixel's first device pixel, as the drawing places it.
at() { awk -v p="$1" -v d="$dpi" 'BEGIN { v = p * d / 96; printf "%d", (v < 0 ? -int(-v + 0.5) : int(v + 0.5)) }'; }
pixel() { "$convert" "$shot" -format "%[fx:int(255*p{$1,$2}.r)] %[fx:int(255*p{$1,$2}.g)] %[fx:int(255*p{$1,$2}.b)]" info:; }

failures=0
expect() {
    local x=$1 y=$2 want=$3 what=$4 got
    got=$(pixel "$x" "$y")
    printf '%-36s (%4d,%4d) %-11s %s\n' "$what" "$x" "$y" "$got" "$([ "$got" = "$want" ] && echo ok || echo "want $want")"
    [ "$got" = "$want" ] || failures=$((failures + 1))
}

size=$(identify -format '%wx%h' "$shot")
want="$(at 485)x$(at 357)"
echo "client area at $dpi dpi: $size (want $want)"
[ "$size" = "$want" ] || failures=$((failures + 1))
black="0 0 0" white="255 255 255" brown="128 64 64"
expect "$(at 150)" "$(at 24)" "$black" "balloon's top border"
expect "$(at 150)" "$(($(at 24) + 1))" "$white" "one device pixel below it"
expect "$(at 56)" "$(at 260)" "$black" "tub, back left edge (thin)"
expect "$(($(at 56) + 1))" "$(at 260)" "$white" "one device pixel right of it"
expect "$(at 200)" "$(at 192)" "$brown" "tub, back rim (thick)"
expect "$(at 200)" "$(($(at 192) + 1))" "$brown" "its width scales"
echo "screenshot: $shot"
[ "$failures" -eq 0 ] || { echo "$failures checks failed at $dpi dpi" >&2; exit 1; }
