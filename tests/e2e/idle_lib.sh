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

# poll TENTHS COMMAND...: up to TENTHS tenths of a second for COMMAND to succeed.
poll() {
    local tries=$1 i
    shift
    for ((i = 0; i < tries; i++)); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}

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

# no_saver_for SECONDS: no saver starts in that time.
no_saver_for() {
    local i
    for ((i = 0; i < $1 * 10; i++)); do
        saver_runs && return 1
        sleep 0.1
    done
    return 0
}

# input_for SECONDS COMMAND...: COMMAND (a small input) every half second.
input_for() {
    local seconds=$1 i
    shift
    for ((i = 0; i < seconds * 2; i++)); do
        "$@" >/dev/null 2>&1
        sleep 0.5
    done
}
