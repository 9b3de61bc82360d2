#!/usr/bin/env bash
# The idle watcher on a virtual X server (the MIT-SCREEN-SAVER idle time):
# the saver starts after the idle time, input before that puts it off, and
# after a key has ended it, it starts again after the next idle period. A
# saver that crashes is reported and started again; none starts while an
# XScreenSaver daemon runs on the display; a watcher that is killed
# takes its saver with it; SIGTERM ends both with status 0. Without any idle
# source the watcher says so in one line and ends with status 1.
source "$(dirname "$0")/e2e_lib.sh"
source "$(dirname "$0")/idle_lib.sh"
require_tools Xvfb xdotool xprop pgrep import convert

no_source_run() {
    env -u DISPLAY -u WAYLAND_DISPLAY "$LUMIVANE" --idle 1 >"$WORK/none.out" 2>"$WORK/none.err"
}
no_source_run
status=$?
check "without an idle source: status 1" test "$status" -eq 1
one_line_no_source() {
    [[ $(wc -l <"$WORK/none.err") -eq 1 ]] && grep -q "no idle source" "$WORK/none.err"
}
check "... and one line saying so" one_line_no_source

start_x 800x600
xdotool mousemove 400 300
start_watcher "$LUMIVANE" --idle "${IDLE}s"
check "the watcher uses the X server's idle time" poll 50 watcher_said "watching MIT-SCREEN-SAVER"

input_for $((IDLE + 2)) xdotool mousemove_relative --sync 1 0
mark
check "pointer input every half second keeps the saver off" no_saver
check "the saver starts once the idle time has passed since the last input" starts_after_idle
check "... and draws a kaleidoscope" wait_until_drawn
keep_shot "$WORK/wait.png" idle-x11
sleep 0.5
mark
xdotool key a
check "a key ends the saver" poll 30 no_saver
check "it starts again after the next idle period, not at once" starts_after_idle

crashed=$(saver_pid)
sleep 0.5
mark
# An abort: the sanitizer build's saver would catch a SIGSEGV itself.
kill -ABRT "$crashed"
check "a saver that crashes is reported" poll 30 watcher_said "ended by signal 6"
check "... the watcher goes on" watcher_runs
check "... and starts the saver again after the idle time, not at once" starts_after_idle

# XScreenSaver's marks: a status on the root window, a version on its own
# window, which goes with the daemon.
host_open 40 40
xprop -root -f _SCREENSAVER_STATUS 32i -set _SCREENSAVER_STATUS 0
xprop -id "$HOST_ID" -f _SCREENSAVER_VERSION 8s -set _SCREENSAVER_VERSION 6.06
kill -TERM "$(saver_pid)"
poll 30 no_saver
check "with an XScreenSaver daemon on the display the saver does not start" \
    no_saver_for $((IDLE * 2))
check "... and the watcher says why" watcher_said "an XScreenSaver daemon runs on this display"
host_close
check "a status the daemon left behind does not keep it away" poll 100 saver_runs

saver=$(saver_pid)
kill -KILL "$WATCHER_PID"
wait "$WATCHER_JOB" 2>/dev/null
check "a killed watcher takes its saver with it" poll 30 gone "$saver"

start_watcher "$LUMIVANE" --idle "${IDLE}s"
poll 100 saver_runs
saver=$(saver_pid)
kill -TERM "$WATCHER_PID"
wait_watcher
check "SIGTERM ends the watcher with status 0" test "$WATCHER_STATUS" -eq 0
check "... and its saver" gone "$saver"
finish
