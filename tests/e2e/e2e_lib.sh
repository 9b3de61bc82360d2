# Helpers shared by the end-to-end scripts: a private virtual X server, a
# private home, screenshots and their checks, and the tally of results.
# Sourced by the scripts; they pass the program's path as $1.
set -uo pipefail

LUMIVANE=${1:?usage: $0 LUMIVANE [X_HOST]}
X_HOST=${2:-}
PASSED=0
FAILED=0

# Exit status CTest reports as "skipped".
SKIP_STATUS=77

# Every time limit is multiplied by this: the programs of the sanitizer build
# start and end a few times slower (CTest sets it there).
TIME_FACTOR=${LUMIVANE_E2E_TIME_FACTOR:-1}

require_tools() {
    local tool
    for tool in "$@"; do
        if ! command -v "$tool" >/dev/null 2>&1; then
            echo "SKIP: $tool is not installed"
            exit $SKIP_STATUS
        fi
    done
}

pass() { PASSED=$((PASSED + 1)); echo "PASS: $*"; }
fail() { FAILED=$((FAILED + 1)); echo "FAIL: $*"; }
check() { # check DESCRIPTION COMMAND...
    local what=$1
    shift
    if "$@"; then pass "$what"; else fail "$what"; fi
}

# Every report of a sanitized program (the sanitizer build) fails the test,
# whichever program wrote it and whether or not its exit status is checked.
sanitizer_reports_checked() {
    local report found=1
    for report in "$SANITIZER_LOGS"/report.*; do
        [[ -e $report ]] || continue
        found=0
        echo "Sanitizer report $(basename "$report"):"
        sed 's/^/  | /' "$report"
    done
    if ((found == 0)); then
        fail "no sanitizer reports"
    fi
}

finish() {
    sanitizer_reports_checked
    echo "$PASSED passed, $FAILED failed"
    [[ $FAILED -eq 0 ]]
}

# Ends what this script started and still runs (its own background jobs).
cleanup() {
    local pid
    for pid in $(jobs -pr); do
        kill -TERM "$pid" 2>/dev/null
    done
    wait 2>/dev/null
    rm -rf "$WORK"
}

WORK=$(mktemp -d /tmp/lumivane-e2e.XXXXXX)
trap cleanup EXIT

# The program must not read or write the real home.
export HOME=$WORK/home XDG_CONFIG_HOME=$WORK/home/.config XDG_DATA_HOME=$WORK/home/.local/share
export XDG_DATA_DIRS=$WORK/system XDG_RUNTIME_DIR=$WORK/runtime
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset XSCREENSAVER_WINDOW WAYLAND_DISPLAY

# Sanitized programs write their reports here, also when run as another user;
# a script that clears the environment passes SANITIZER_ENV on.
SANITIZER_LOGS=$WORK/sanitizer
mkdir -p "$SANITIZER_LOGS"
chmod 1777 "$SANITIZER_LOGS"
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}log_path=$SANITIZER_LOGS/report"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:+$UBSAN_OPTIONS:}log_path=$SANITIZER_LOGS/report"
SANITIZER_ENV=("ASAN_OPTIONS=$ASAN_OPTIONS" "UBSAN_OPTIONS=$UBSAN_OPTIONS"
               "LSAN_OPTIONS=${LSAN_OPTIONS:-}")
export QT_QPA_PLATFORM=xcb

# start_x WIDTHxHEIGHT: a fresh Xvfb on a free display, which it picks itself.
start_x() {
    local size=$1 fifo=$WORK/displayfd
    rm -f "$fifo"
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -ac 3>"$fifo" 2>"$WORK/xvfb.log" &
    local number
    if ! read -r -t 10 number <"$fifo"; then
        echo "Xvfb did not start"
        cat "$WORK/xvfb.log"
        exit 1
    fi
    export DISPLAY=:$number
}

# start_program ARGS...: the program in the background; its pid in $PROGRAM_PID.
start_program() {
    "$LUMIVANE" "$@" >>"$WORK/program.log" 2>&1 &
    PROGRAM_PID=$!
}

# ends_within MILLISECONDS PID: true when PID has ended by then (times TIME_FACTOR).
ends_within() {
    local limit=$(($1 * TIME_FACTOR)) pid=$2 waited=0
    while kill -0 "$pid" 2>/dev/null; do
        if ((waited >= limit)); then
            return 1
        fi
        sleep 0.05
        waited=$((waited + 50))
    done
    return 0
}

# poll TENTHS COMMAND...: up to TENTHS tenths of a second (times TIME_FACTOR)
# for COMMAND to succeed.
poll() {
    local tries=$(($1 * TIME_FACTOR)) i
    shift
    for ((i = 0; i < tries; i++)); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}

# exit_status PID: the status of an ended background process.
exit_status() {
    local status=0
    wait "$1" 2>/dev/null || status=$?
    echo "$status"
}

# ends_cleanly MILLISECONDS PID: ends in time and with status 0.
ends_cleanly() {
    if ! ends_within "$1" "$2"; then
        echo "  still running after $1 ms"
        kill -KILL "$2" 2>/dev/null
        wait "$2" 2>/dev/null
        return 1
    fi
    local status
    status=$(exit_status "$2")
    [[ $status -eq 0 ]] || echo "  exit status $status"
    [[ $status -eq 0 ]]
}

# ends_by_signal MILLISECONDS PID SIGNAL: ends in time, by SIGNAL (TERM, INT,
# HUP): it cleans up and ends itself by the signal it was sent, as hosts expect.
ends_by_signal() {
    if ! ends_within "$1" "$2"; then
        echo "  still running after $1 ms"
        kill -KILL "$2" 2>/dev/null
        wait "$2" 2>/dev/null
        return 1
    fi
    local status expected=$((128 + $(kill -l "$3")))
    status=$(exit_status "$2")
    [[ $status -eq $expected ]] || echo "  exit status $status, not $expected (SIG$3)"
    [[ $status -eq $expected ]]
}

# ends_failing MILLISECONDS PID: ends in time with status 1.
ends_failing() {
    ends_within "$1" "$2" || { kill -KILL "$2" 2>/dev/null; wait "$2" 2>/dev/null; return 1; }
    local status
    status=$(exit_status "$2")
    [[ $status -eq 1 ]] || echo "  exit status $status"
    [[ $status -eq 1 ]]
}

still_running() { kill -0 "$1" 2>/dev/null; }

# cpu_ticks PID: user plus system CPU ticks the process has used so far.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

# ticks_during SECONDS PID: the CPU ticks the process uses in that time.
ticks_during() {
    local before
    before=$(cpu_ticks "$2")
    sleep "$1"
    echo $(($(cpu_ticks "$2") - before))
}

# shot FILE [WINDOW]: a screenshot of the screen or of one window.
shot() { import -window "${2:-root}" "$1" 2>/dev/null; }

# Mean brightness 0..1 of an image.
mean_of() { convert "$1" -colorspace gray -format "%[fx:mean]" info:; }

not_black() { # not_black FILE: more than a trace of light
    awk -v m="$(mean_of "$1")" 'BEGIN { exit !(m > 0.002) }'
}

differ() { # differ A B: at least 100 pixels changed
    local changed
    changed=$(compare -metric AE "$1" "$2" null: 2>&1 | cut -d' ' -f1)
    awk -v c="${changed:-0}" 'BEGIN { exit !(c >= 100) }'
}

pixel_of() { # pixel_of FILE X Y: the colour as srgb(r,g,b)
    convert "$1" -format "%[pixel:p{$2,$3}]" info:
}

# wait_until_drawn [WINDOW]: up to 5 s (times TIME_FACTOR) for the screen (or
# window) to show light.
wait_until_drawn() {
    local i
    for i in $(seq $((50 * TIME_FACTOR))); do
        if shot "$WORK/wait.png" "${1:-root}" && not_black "$WORK/wait.png"; then
            return 0
        fi
        sleep 0.1
    done
    return 1
}

# keep_shot FILE NAME: with $LUMIVANE_E2E_SHOTS set, keeps a screenshot there
# for a person to look at.
keep_shot() {
    if [[ -n ${LUMIVANE_E2E_SHOTS:-} ]]; then
        mkdir -p "$LUMIVANE_E2E_SHOTS" && cp "$1" "$LUMIVANE_E2E_SHOTS/$2.png"
    fi
}

# The colour of the test's host windows.
HOST_COLOUR="srgb(32,48,64)"

# covered WINDOW [X Y]: the window shows something other than the host's own
# colour at (X, Y), by default near its top left corner.
covered() {
    shot "$WORK/host.png" "$1" && [[ $(pixel_of "$WORK/host.png" "${2:-2}" "${3:-2}") != "$HOST_COLOUR" ]]
}

# wait_until_covered WINDOW: up to 5 s (times TIME_FACTOR) for a preview to
# draw over its host.
wait_until_covered() {
    local i
    for i in $(seq $((50 * TIME_FACTOR))); do
        covered "$1" && return 0
        sleep 0.1
    done
    return 1
}

# moving [WINDOW]: two screenshots a second apart differ.
moving() {
    shot "$WORK/a.png" "${1:-root}" && sleep 1 && shot "$WORK/b.png" "${1:-root}" &&
        differ "$WORK/a.png" "$WORK/b.png"
}

# The host helper, run as a coprocess: host_open W H [X Y] sets HOST_ID;
# host_say COMMAND sends a command and waits for its "ok".
host_open() {
    coproc HOST { "$X_HOST" "$@"; }
    read -r -t 5 HOST_ID <&"${HOST[0]}"
}
host_say() {
    local answer
    echo "$*" >&"${HOST[1]}"
    read -r -t 5 answer <&"${HOST[0]}"
    [[ $answer == ok ]]
}
host_close() {
    local pid=$HOST_PID
    echo quit >&"${HOST[1]}"
    wait "$pid" 2>/dev/null
}
