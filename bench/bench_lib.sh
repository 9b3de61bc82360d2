# What the benchmark scripts share: a private folder and home, so the program
# reads no settings or patterns of the person running it, and a virtual X
# server of a given size. Sourced after the script has checked its tools.

WORK=$(mktemp -d /tmp/lumivane-bench.XXXXXX)
cleanup() {
    local pid
    for pid in $(jobs -pr); do kill -TERM "$pid" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT

export HOME=$WORK/home XDG_CONFIG_HOME=$WORK/home/.config XDG_DATA_HOME=$WORK/home/.local/share
export XDG_DATA_DIRS=$WORK/system XDG_RUNTIME_DIR=$WORK/runtime QT_QPA_PLATFORM=xcb
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

XVFB_PID=
# start_x WIDTHxHEIGHT: a fresh Xvfb of that size (the previous one ends).
start_x() {
    if [[ -n $XVFB_PID ]]; then
        kill -TERM "$XVFB_PID" 2>/dev/null
        wait "$XVFB_PID" 2>/dev/null || true
    fi
    rm -f "$WORK/displayfd"
    mkfifo "$WORK/displayfd"
    Xvfb -displayfd 3 -screen 0 "${1}x24" -nolisten tcp 3>"$WORK/displayfd" 2>/dev/null &
    XVFB_PID=$!
    local number
    read -r -t 10 number <"$WORK/displayfd"
    export DISPLAY=:$number
}
