#!/usr/bin/env bash
# The full-screen saver on a virtual X server: it draws a moving kaleidoscope
# and ends, with status 0, on a key, a mouse button, a pointer movement of more
# than 50 pixels; SIGTERM ends it by that signal.
source "$(dirname "$0")/e2e_lib.sh"
require_tools Xvfb xdotool import convert compare
start_x 1024x768

# Starts the saver with the pointer at (200, 200) and waits until it draws and
# holds the keyboard and the pointer.
start_saver() {
    xdotool mousemove 200 200
    start_program /s
    wait_until_drawn && sleep 0.3
}

check "/s draws a kaleidoscope" start_saver
check "the kaleidoscope moves" moving
keep_shot "$WORK/b.png" fullscreen
"$LUMIVANE" /s >/dev/null 2>&1 &
second=$!
check "a second saver sees the first one and ends at once" ends_cleanly 1000 "$second"
xdotool key Shift_L
check "a modifier key ends the saver within a second" ends_cleanly 1000 "$PROGRAM_PID"

start_saver
xdotool key a
check "a letter key ends the saver within a second" ends_cleanly 1000 "$PROGRAM_PID"

start_saver
xdotool click 1
check "a mouse button ends the saver within a second" ends_cleanly 1000 "$PROGRAM_PID"

# The first recorded position is (200, 200) or (200, 210); along x both are
# the same distance away.
start_saver
xdotool mousemove 200 210
sleep 0.2
xdotool mousemove 250 210
sleep 0.5
check "a 50-pixel move keeps the saver running" still_running "$PROGRAM_PID"
xdotool mousemove 251 210
check "a 51-pixel move ends the saver within a second" ends_cleanly 1000 "$PROGRAM_PID"

start_saver
kill -TERM "$PROGRAM_PID"
check "SIGTERM ends the saver by that signal within a second" ends_by_signal 1000 "$PROGRAM_PID" TERM

finish
