#!/usr/bin/env bash
# The preview inside another program's window: it fills the host, follows its
# size, rests while the host is unmapped, and ends when the host is destroyed
# or the handle names no window.
source "$(dirname "$0")/e2e_lib.sh"
require_tools Xvfb xwininfo import convert compare
[[ -x $X_HOST ]] || { echo "usage: $0 LUMIVANE X_HOST"; exit 2; }
start_x 800x600

child_is() { # child_is WxH: the host holds one child window of that size at (0, 0)
    local i
    for i in $(seq 20); do
        xwininfo -children -id "$HOST_ID" | grep -q " ${1}+0+0 " && return 0
        sleep 0.1
    done
    return 1
}

host_open 320 240
start_program /p "$HOST_ID"
check "/p HANDLE draws inside the host" wait_until_covered "$HOST_ID"
check "the preview fills the host" child_is 320x240
check "the preview covers the host's corner" covered "$HOST_ID" 318 238
check "the preview moves" moving "$HOST_ID"
keep_shot "$WORK/b.png" preview
host_say resize 400 300
check "the preview follows the host's new size" child_is 400x300
sleep 0.3
check "the grown area is drawn" covered "$HOST_ID" 398 298
host_say destroy
check "the preview ends within a second when the host is destroyed" \
    ends_cleanly 1000 "$PROGRAM_PID"
host_close

host_open 200 150
start_program "/p:$HOST_ID"
check "/p:HANDLE draws inside the host" wait_until_covered "$HOST_ID"
kill -TERM "$PROGRAM_PID"
check "SIGTERM ends the preview within a second" ends_by_signal 1000 "$PROGRAM_PID" TERM
host_close

# A preview whose host is unmapped draws nothing (no X event tells it; it
# notices within its host poll) and draws again once the host is back.
host_open 780 580 0 0
start_program /p "$HOST_ID"
check "a large preview draws" wait_until_covered "$HOST_ID"
shown=$(ticks_during 3 "$PROGRAM_PID")
host_say unmap
sleep 0.5
hidden=$(ticks_during 3 "$PROGRAM_PID")
host_say map
# A small preview costs only a few ticks (of 10 ms) a second, so one tick of
# the host poll or of the scheduler's sampling is allowed for.
check "no frames while the host is unmapped ($hidden CPU ticks in 3 s, $shown while shown)" \
    test $((hidden * 4)) -le $((shown + 4))
check "... and frames again once it is mapped" moving "$HOST_ID"
kill -TERM "$PROGRAM_PID"
check "SIGTERM ends it within a second" ends_by_signal 1000 "$PROGRAM_PID" TERM
host_close

windows_before=$(xwininfo -root -children | grep -c '^ *0x')
start_program /p 12345
check "a handle that names no window ends at once with status 1" ends_failing 1000 "$PROGRAM_PID"
check "... and leaves no window" \
    test "$(xwininfo -root -children | grep -c '^ *0x')" -eq "$windows_before"

finish
