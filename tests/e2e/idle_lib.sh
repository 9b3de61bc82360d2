# What the idle watcher's end-to-end tests share. Sourced after e2e_lib.sh.

# The idle time the tests give the watcher, in seconds: long enough that
# input a second apart keeps it from firing on a loaded machine.
IDLE=3

# The buses of the person running the tests stay out: every source and check
# sees only what the test provides.
export DBUS_SESSION_BUS_ADDRESS=unix:path=$WORK/no-session-bus
export DBUS_SYSTEM_BUS_ADDRESS=unix:path=$WORK/no-system-bus
# A saver killed on purpose leaves no core file behind.
ulimit -c 0

# lumivane_below PID: the first process named lumivane among PID and its
# descendants.
lumivane_below() {
    local pid child
    for pid in "$@"; do
        if [[ $(cat "/proc/$pid/comm" 2>/dev/null) == lumivane ]]; then
            echo "$pid"
            return 0
        fi
    done
    for pid in "$@"; do
        for child in $(pgrep -P "$pid"); do
            lumivane_below "$child" && return 0
        done
    done
    return 1
}

# start_watcher COMMAND...: the watcher, run by COMMAND (which may run it as
# another user) in the background; its own pid in WATCHER_PID, the job's in
# WATCHER_JOB, its output (this watcher's only) in $WORK/watcher.log.
start_watcher() {
    "$@" >"$WORK/watcher.log" 2>&1 &
    WATCHER_JOB=$!
    local i
    for ((i = 0; i < 50; i++)); do
        WATCHER_PID=$(lumivane_below "$WATCHER_JOB") && return 0
        sleep 0.1
    done
    echo "the watcher did not start"
    return 1
}

# The saver the watcher started, if any: its only child.
saver_pid() { pgrep -P "$WATCHER_PID" | head -n 1; }
saver_runs() { [[ -n $(saver_pid) ]]; }
no_saver() { ! saver_runs; }
watcher_said() { grep -qF -- "$1" "$WORK/watcher.log"; }
watcher_runs() { kill -0 "$WATCHER_PID" 2>/dev/null; }
# gone PID: ended (a zombie left to a parent that does not reap counts too).
gone() { [[ ! -e /proc/$1 ]] || [[ $(awk '{ print $3 }' "/proc/$1/stat" 2>/dev/null) == Z ]]; }

# wait_watcher: waits for the watcher's job; its exit status in WATCHER_STATUS.
wait_watcher() {
    WATCHER_STATUS=0
    wait "$WATCHER_JOB" 2>/dev/null || WATCHER_STATUS=$?
}

# mark: the moment from which the next idle period counts at the earliest
# (after the last input, or before the saver is ended).
mark() { MARK=$(date +%s%3N); }

# starts_after_idle: the saver starts within 10 s, and not before the idle
# time has passed since the mark. A busy machine only makes it look later.
starts_after_idle() {
    if ! poll 100 saver_runs; then
        echo "  no saver within 10 s"
        return 1
    fi
    local waited=$(($(date +%s%3N) - MARK))
    if ((waited < IDLE * 1000 - 200)); then
        echo "  the saver started only $waited ms after the mark"
        return 1
    fi
}

# no_saver_for SECONDS: no saver starts in that time.
no_saver_for() {
    local i
    for ((i = 0; i < $1 * 10; i++)); do
        saver_runs && return 1
        sleep 0.1
    done
    return 0
}

# input_for SECONDS COMMAND...: COMMAND (a small input) every half second, the
# last one at the end.
input_for() {
    local seconds=$1 i
    shift
    for ((i = 0; i < seconds * 2; i++)); do
        ((i == 0)) || sleep 0.5
        "$@" >/dev/null 2>&1
    done
}

# use_standin_saver: the watcher runs a stand-in instead of the saver, which
# waits to be ended; end_saver ends it after input, as a key ends the real one
# (INPUT_COMMAND is the test's way of sending input).
use_standin_saver() {
    printf '#!/bin/sh\nexec sleep 600\n' >"$WORK/saver"
    chmod +x "$WORK/saver"
    export LUMIVANE_IDLE_SAVER=$WORK/saver
}
end_saver() {
    mark
    "${INPUT_COMMAND[@]}"
    kill -TERM "$(saver_pid)"
    poll 30 no_saver
}

# idle_cycle_checks INPUT_COMMAND...: input keeps the saver off; it starts once
# the idle time has passed, and again after it has ended, by a key (end_saver)
# or by itself, each time only after a whole idle period.
idle_cycle_checks() {
    input_for $((IDLE + 2)) "$@"
    mark
    check "input every half second keeps the saver off" no_saver
    check "the saver starts once the idle time has passed since the last input" starts_after_idle
    end_saver
    check "after it has ended it starts again after the next idle period, not at once" \
        starts_after_idle
    mark
    kill -TERM "$(saver_pid)"
    check "a saver that ends without input starts again after the idle time, not at once" \
        starts_after_idle
}
