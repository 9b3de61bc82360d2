#!/usr/bin/env bash
# CPU used by the idle watcher (--idle) while it waits, with each idle source
# this machine can offer: the X server (Xvfb), headless sway (org_kde_kwin_idle
# on sway 1.7) and GNOME's idle monitor played by the tests' stand-in on a
# private bus. The idle time (1 hour) is longer than the measurement, and
# nothing touches the session meanwhile.
#
#   bench/idle_cpu.sh [LUMIVANE] [SECONDS]
#
# LUMIVANE defaults to build/app/lumivane; SECONDS (default 60) is the length of
# each measurement, taken after 2 seconds of settling. Prints CPU seconds used
# and the share of one core.
set -uo pipefail
E2E=$(dirname "$0")/../tests/e2e
set -- "${1:-build/app/lumivane}" "${2:-60}"
MEASURED=$2
source "$E2E/e2e_lib.sh" "$1"
source "$E2E/idle_lib.sh"
source "$E2E/sway_lib.sh"
TICKS=$(getconf CLK_TCK)

# wakeups PID: how often the process's threads have gone to sleep so far.
wakeups() {
    cat /proc/"$1"/task/*/status | awk '/^voluntary_ctxt_switches/ { n += $2 } END { print n }'
}

# measure NAME: the running watcher's CPU over the measurement.
measure() {
    sleep 2
    if ! watcher_runs; then
        printf '%-36s did not run: %s\n' "$1" "$(head -n 1 "$WORK/watcher.log")"
        return
    fi
    local used wakes
    wakes=$(wakeups "$WATCHER_PID")
    used=$(ticks_during "$MEASURED" "$WATCHER_PID")
    wakes=$(($(wakeups "$WATCHER_PID") - wakes))
    awk -v n="$1" -v u="$used" -v t="$TICKS" -v s="$MEASURED" -v w="$wakes" \
        'BEGIN { printf "%-36s %d ticks of 1/%d s in %d s = %.5f of a core, %d wake-ups\n",
                 n, u, t, s, u / t / s, w }'
    kill -TERM "$WATCHER_PID"
    wait_watcher
}

printf '%-36s %s\n' "Source" "CPU while waiting"
start_x 1024x768
start_watcher "$LUMIVANE" --idle 60m
measure "X server (MIT-SCREEN-SAVER)"

if command -v dbus-daemon >/dev/null && /usr/bin/python3 -c 'import dbus, gi' 2>/dev/null; then
    mkfifo "$WORK/bus-address"
    dbus-daemon --session --nofork --print-address=3 3>"$WORK/bus-address" >/dev/null 2>&1 &
    read -r -t 10 address <"$WORK/bus-address"
    export DBUS_SESSION_BUS_ADDRESS=$address DBUS_SYSTEM_BUS_ADDRESS=$address
    /usr/bin/python3 "$E2E/gnome_idle_standin.py" >"$WORK/standin.log" 2>&1 &
    poll 100 grep -q ready "$WORK/standin.log"
    start_watcher env -u DISPLAY "$LUMIVANE" --idle 60m
    measure "GNOME idle monitor (stand-in)"
fi

if command -v sway >/dev/null; then
    (
        start_sway 1
        mkdir -p "$WORK/bin" && cp "$LUMIVANE" "$WORK/bin/lumivane"
        chmod 755 "$WORK/bin" "$WORK/bin/lumivane"
        start_watcher as_sway_user env -u DISPLAY "$WORK/bin/lumivane" --idle 60m
        measure "Wayland (headless sway)"
        stop_sway
    )
fi
