#!/usr/bin/env bash
# The idle watcher with Wayland's ext-idle-notify-v1, which no compositor of
# Debian 12 offers, against a stand-in compositor that offers only a seat and
# that protocol ($3): the saver starts after the idle time, input puts it off,
# after it has ended it starts again after the next idle period (also when it
# ended without input), and a compositor that goes away ends the watcher with
# status 3. The saver is a stand-in that waits to be ended.
source "$(dirname "$0")/e2e_lib.sh"
source "$(dirname "$0")/idle_lib.sh"
COMPOSITOR=${3:?usage: $0 LUMIVANE X_HOST COMPOSITOR}
require_tools pgrep
unset DISPLAY

coproc COMPOSITOR_JOB { "$COMPOSITOR"; }
if ! read -r -t 10 socket <&"${COMPOSITOR_JOB[0]}"; then
    echo "the stand-in compositor did not start"
    exit 1
fi
export WAYLAND_DISPLAY=$socket
compositor_says() { echo "$1" >&"${COMPOSITOR_JOB[1]}"; }
use_standin_saver
INPUT_COMMAND=(compositor_says input)

start_watcher "$LUMIVANE" --idle "${IDLE}s"
check "the watcher uses ext-idle-notify-v1" poll 50 watcher_said "watching ext-idle-notify-v1"

idle_cycle_checks compositor_says input

saver=$(saver_pid)
compositor_says quit
wait_watcher
check "a compositor that goes away ends the watcher with status 3" test "$WATCHER_STATUS" -eq 3
check "... with a line saying so" watcher_said "lost the connection to the Wayland compositor"
check "... and its saver with it" poll 30 gone "$saver"
finish
