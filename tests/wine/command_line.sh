#!/usr/bin/env bash
# command_line.sh LINUX_HEADLESS: the Windows programs under Wine end as the
# table every program shares says: yopo.exe answers and refuses in a message
# box (and on the stream, for this test to read), and yopo-headless.exe gives
# the Linux runner's very output and status for the same arguments or script,
# a Ctrl-Z line and the bidirectional controls among them. Run under xvfb-run.
set -euo pipefail
linux=$1
game="$YOPO_WINDOWS_BUILD/app/win32/yopo.exe"
headless="$YOPO_WINDOWS_BUILD/replay/yopo-headless.exe"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0

# run NAME COMMAND...: the status, stdout and stderr of a run, in $work/NAME.*;
# a message box the run opens is read off the screen and closed with Enter.
run() {
    local name=$1
    shift
    set +e
    "$@" > "$work/$name.out" 2> "$work/$name.all" &
    local pid=$!
    local box=""
    for _ in $(seq 1 50); do
        kill -0 "$pid" 2>/dev/null || break
        box=$(xdotool search --onlyvisible --name '^yopo$' 2>/dev/null | head -1) || true
        if [ -n "$box" ]; then
            xdotool key --window "$box" Return 2>/dev/null
            break
        fi
        sleep 0.2
    done
    wait "$pid"
    echo $? > "$work/$name.status"
    set -e
    # Wine's own remarks on the X server are not the program's.
    grep -v '^XGetInputFocus returned' "$work/$name.all" > "$work/$name.err" || true
    echo "${box:+box}" > "$work/$name.box"
}

# expect NAME STATUS BOX FIRST_LINE_OF_OUT ERR
expect() {
    local name=$1 status=$2 box=$3 out=$4 err=$5
    local got_status got_out got_err got_box
    got_status=$(cat "$work/$name.status")
    # A Windows program's text streams end their lines with CR LF.
    got_out=$(head -1 "$work/$name.out" | tr -d '\r')
    got_err=$(tr -d '\r' < "$work/$name.err")
    got_box=$(cat "$work/$name.box")
    if [ "$got_status" != "$status" ] || [ "$got_out" != "$out" ] || [ "$got_err" != "$err" ] ||
        [ "$got_box" != "$box" ]; then
        echo "$name: status $got_status, box '$got_box', out '$got_out', err '$got_err'" >&2
        echo "$name: wanted $status, box '$box', out '$out', err '$err'" >&2
        failed=1
    else
        echo "$name: $status as the table says"
    fi
}

usage='Usage: yopo [--help | /? | --version]'
refused="yopo: unknown argument '--fullscreen': the game takes no options (see yopo --help)"
escaped="yopo: unknown argument '\\x1b]0;pwned\\x07': the game takes no options (see yopo --help)"
run help wine "$game" --help
expect help 0 box "$usage" ""
run windows-help wine "$game" '/?'
expect windows-help 0 box "$usage" ""
run version wine "$game" --version
expect version 0 box "yopo $(sed -n 's/^yopo-headless //p' < <("$linux" --version))" ""
run refused wine "$game" --fullscreen
expect refused 2 box "" "$refused"
run escaped wine "$game" $'\e]0;pwned\a'
expect escaped 2 box "" "$escaped"

# The runner: the same bytes out and the same status as on Linux.
printf 'click Command1\n\x1a\nstate\n' > "$work/ctrl-z.script"
printf 'state\njump \xe2\x80\xae;1 enil\n' > "$work/bidi.script"
same() {
    local name=$1
    shift
    run "linux-$name" "$linux" "$@"
    run "windows-$name" wine "$headless" "$@"
    for part in status out err; do
        if ! cmp -s "$work/linux-$name.$part" "$work/windows-$name.$part"; then
            echo "yopo-headless.exe $name: its $part differs from Linux's:" >&2
            diff "$work/linux-$name.$part" "$work/windows-$name.$part" | head -5 >&2 || true
            failed=1
            return
        fi
    done
    echo "yopo-headless.exe $name: as on Linux, status $(cat "$work/linux-$name.status")"
}
same version --version
same unknown --fast
same ctrl-z "$work/ctrl-z.script"
same bidi "$work/bidi.script"
run headless-help wine "$headless" --help
expect headless-help 0 "" 'Usage: yopo-headless [--help | /? | --version | SCRIPT]' ""
exit "$failed"
