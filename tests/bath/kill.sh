#!/usr/bin/env bash
# kill.sh RECORD PROGRAM...: the bath outlives a killed program, not the
# player's close. The player opens the tap (Enter: Command1 has the focus);
# the program is killed (SIGKILL) mid-fill and started again: the water goes on
# rising from where the wall clock has taken it. Then the player closes the
# window with its close box: the record is gone and the next start is a new
# bath. A spoilt record is set aside as bath.bad with one line said.
# RECORD is where PROGRAM keeps the bath; run under xvfb-run with
# YOPO_TIME_SCALE set (a filling tick every 6000 / YOPO_TIME_SCALE ms).
set -euo pipefail
record=$1
shift
scale=${YOPO_TIME_SCALE:?}
log=$(mktemp)
pid=""
cleanup() { [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null; rm -f "$log"; }
trap cleanup EXIT
fail() { echo "kill.sh: $*" >&2; cat "$log" >&2; exit 1; }

window=""
start() {
    "$@" >"$log" 2>&1 &
    pid=$!
    window=""
    for _ in $(seq 1 150); do
        window=$(xdotool search --onlyvisible --name '^ヨポ$' 2>/dev/null | head -1) || true
        [ -n "$window" ] && return
        sleep 0.2
    done
    fail "no window appeared"
}
killed() { kill -9 "$pid"; wait "$pid" 2>/dev/null || true; pid=""; }
# field NAME N: the Nth word after NAME in the record.
field() { awk -v name="$1" -v n="$2" '$1 == name { print $(n + 1) }' "$record"; }

rm -f "$record" "$(dirname "$record")/bath.bad"
start "$@"
xdotool key --window "$window" Return
sleep 2
killed
[ -f "$record" ] || fail "no bath kept while the tap ran"
[ "$(field Phase 1)" = 1 ] || fail "the kept bath is not filling"
level=$(field Shp_water 2) made=$(field made 1)
echo "killed with the water at $level"

start "$@"
sleep 2
killed
now_level=$(field Shp_water 2) now_made=$(field made 1)
# Every tick the wall clock made due, within a tick either way.
expected=$(((now_made - made) * scale / 6000 * 5 + level))
echo "started again and killed: the water at $now_level, the wall clock says $expected"
[ "$(field Phase 1)" = 1 ] || fail "the bath did not go on filling"
[ $((now_level - expected)) -le 5 ] && [ $((expected - now_level)) -le 5 ] ||
    fail "the water is not where the wall clock took it"

start "$@"
sleep 0.5
"$(dirname "$0")/close_box.py" "$window"
for _ in $(seq 1 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && fail "the close box did not close the window"
pid=""
[ -f "$record" ] && fail "the bath was kept after the player closed the window"
echo "closed by the player: nothing kept"

printf 'yopo-bath 1\nPhase 3\n' >"$record"
start "$@"
sleep 0.5
killed
grep -q "the kept bath could not be read" "$log" || fail "nothing said of the spoilt record"
[ "$(grep -c "^yopo: " "$log")" = 1 ] || fail "more than one line said"
[ -f "$(dirname "$record")/bath.bad" ] || fail "the spoilt record was not set aside"
[ -f "$record" ] && fail "the spoilt record is still in the way"
echo "a spoilt record: set aside, a new bath"
