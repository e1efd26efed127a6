# window_opens.sh: sourced by the release tests. window_opens EXE runs a
# yopo.exe under Wine on the X screen and succeeds once its window, titled
# ヨポ, is shown; the game is closed again either way.
window_opens() {
    local exe=$1 log window="" pid
    log=$(mktemp)
    wine "$exe" >"$log" 2>&1 &
    pid=$!
    for _ in $(seq 1 150); do
        window=$(xdotool search --onlyvisible --name '^ヨポ$' 2>/dev/null | head -1) || true
        [ -n "$window" ] && break
        sleep 0.2
    done
    kill "$pid" 2>/dev/null || true
    wine taskkill /f /im yopo.exe >/dev/null 2>&1 || true
    wait "$pid" 2>/dev/null || true
    if [ -z "$window" ]; then
        echo "no window from $exe" >&2
        cat "$log" >&2
        rm -f "$log"
        return 1
    fi
    rm -f "$log"
    echo "window from $exe"
}
