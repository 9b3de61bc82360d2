#!/usr/bin/env bash
# The idle watcher with GNOME's idle monitor, played on a private session bus
# by gnome_idle_standin.py (which also plays GNOME's session manager and the
# login manager): the saver starts after the idle time, input puts it off,
# after it has ended it starts again after the next idle period; not while an
# application inhibits idleness or the session is locked; a monitor or a bus
# that goes away ends the watcher with status 3. The saver is a stand-in that
# waits to be ended.
source "$(dirname "$0")/e2e_lib.sh"
source "$(dirname "$0")/idle_lib.sh"
require_tools dbus-daemon dbus-send pgrep
if ! /usr/bin/python3 -c 'import dbus, gi' 2>/dev/null; then
    echo "SKIP: python3-dbus and python3-gi are not installed"
    exit $SKIP_STATUS
fi
STANDIN=$(dirname "$0")/gnome_idle_standin.py
unset DISPLAY

# The bus serves as session bus and as system bus.
start_bus() {
    rm -f "$WORK/bus-address"
    mkfifo "$WORK/bus-address"
    dbus-daemon --session --nofork --print-address=3 3>"$WORK/bus-address" >/dev/null 2>&1 &
    BUS_PID=$!
    local address
    if ! read -r -t 10 address <"$WORK/bus-address"; then
        echo "dbus-daemon did not start"
        exit 1
    fi
    export DBUS_SESSION_BUS_ADDRESS=$address DBUS_SYSTEM_BUS_ADDRESS=$address
}

start_standin() {
    /usr/bin/python3 "$STANDIN" >"$WORK/standin.log" 2>&1 &
    STANDIN_PID=$!
    if ! poll 100 grep -q ready "$WORK/standin.log"; then
        echo "the stand-in services did not start:"
        cat "$WORK/standin.log"
        exit 1
    fi
}

# test_call METHOD [ARGUMENT]: tells the stand-in to act ("Input", "SetLocked boolean:true").
test_call() {
    dbus-send --session --print-reply --dest=org.lumivane.Test /org/lumivane/Test \
        "org.lumivane.Test.$1" ${2:+"$2"} >/dev/null
}

use_standin_saver
INPUT_COMMAND=(test_call Input)

start_bus
start_standin
start_watcher "$LUMIVANE" --idle "${IDLE}s"
check "the watcher uses GNOME's idle monitor" \
    poll 50 watcher_said "watching org.gnome.Mutter.IdleMonitor"
check "... and the login manager's lock hint" watcher_said "session lock (login1)"

# GNOME fires an idle watch at once when the session is already that idle:
# the last check catches that.
idle_cycle_checks test_call Input

test_call SetInhibited boolean:true
end_saver
check "while an application inhibits idleness the saver does not start" no_saver_for $((IDLE * 2))
test_call SetInhibited boolean:false
check "... and once the inhibitor goes it starts" poll 50 saver_runs

test_call SetLocked boolean:true
end_saver
check "in a locked session the saver does not start" no_saver_for $((IDLE * 2))
said_once() { [[ $(grep -c "not starting the saver: the session is locked" "$WORK/watcher.log") -eq 1 ]]; }
check "... and the watcher says why, once" said_once
test_call SetLocked boolean:false
test_call Input
check "after unlocking it starts after the idle time" poll 100 saver_runs

saver=$(saver_pid)
kill -TERM "$STANDIN_PID"
wait_watcher
check "an idle monitor that leaves ends the watcher with status 3" test "$WATCHER_STATUS" -eq 3
check "... with a line saying so" watcher_said "GNOME's idle monitor has left the session bus"
check "... and its saver with it" poll 30 gone "$saver"

start_standin
start_watcher "$LUMIVANE" --idle "${IDLE}s"
poll 50 watcher_said "watching org.gnome.Mutter.IdleMonitor"
# Killed outright: a bus that shuts down in order first reports the monitor gone.
kill -KILL "$BUS_PID"
wait "$BUS_PID" 2>/dev/null
wait_watcher
check "a session bus that goes away ends the watcher with status 3" test "$WATCHER_STATUS" -eq 3
check "... with a line saying so" watcher_said "lost the connection to the session bus"
finish
