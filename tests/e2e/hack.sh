#!/usr/bin/env bash
# The screen-saver daemon's conventions: $XSCREENSAVER_WINDOW for a preview
# without a handle, --window-id ID and --root; SIGTERM, SIGINT and SIGHUP end
# every mode within a second, by that signal; ids that name no window fail.
source "$(dirname "$0")/e2e_lib.sh"
require_tools Xvfb xwininfo import convert compare
[[ -x $X_HOST ]] || { echo "usage: $0 LUMIVANE X_HOST"; exit 2; }
start_x 800x600

host_untouched() { ! covered "$1"; }

# no_window_manager_messages: the host, watching the root window as a screen
# locker does, has seen no message about another window there.
no_window_manager_messages() {
    local count
    echo messages >&"${HOST[1]}"
    read -r -t 5 count <&"${HOST[0]}"
    [[ $count == 0 ]] || echo "  $count messages"
    [[ $count == 0 ]]
}

host_open 240 180 10 10
HOST_HEX=$(printf '0x%x' "$HOST_ID")

XSCREENSAVER_WINDOW=$HOST_ID start_program /p
check "/p without a handle draws into a decimal \$XSCREENSAVER_WINDOW" \
    wait_until_covered "$HOST_ID"
kill -TERM "$PROGRAM_PID"
check "SIGTERM ends it within a second" ends_by_signal 1000 "$PROGRAM_PID" TERM

XSCREENSAVER_WINDOW=$HOST_HEX start_program --root
check "--root draws into a hexadecimal \$XSCREENSAVER_WINDOW" wait_until_covered "$HOST_ID"
check "... and moves" moving "$HOST_ID"
kill -INT "$PROGRAM_PID"
check "SIGINT ends it within a second" ends_by_signal 1000 "$PROGRAM_PID" INT

start_program --window-id "$HOST_HEX"
check "--window-id 0x... draws into that window" wait_until_covered "$HOST_ID"
check "... and no hack sent the window manager a message" no_window_manager_messages
kill -HUP "$PROGRAM_PID"
check "SIGHUP ends it within a second" ends_by_signal 1000 "$PROGRAM_PID" HUP

host_close

# Two hosts for the precedence check; the one named by the variable stays as it is.
sleep 30 | "$X_HOST" 240 180 300 10 >"$WORK/other.id" &
host_open 240 180 10 300
for i in $(seq 50); do [[ -s $WORK/other.id ]] && break; sleep 0.1; done
OTHER_ID=$(head -n1 "$WORK/other.id")
XSCREENSAVER_WINDOW=$OTHER_ID start_program --root --window-id "$HOST_ID"
check "--window-id wins over --root and \$XSCREENSAVER_WINDOW" wait_until_covered "$HOST_ID"
check "... leaving \$XSCREENSAVER_WINDOW alone" host_untouched "$OTHER_ID"
host_say destroy
check "it ends within a second when its window is destroyed" ends_cleanly 1000 "$PROGRAM_PID"
host_close

start_program --root
check "--root without \$XSCREENSAVER_WINDOW draws on the root window" wait_until_drawn
kill -TERM "$PROGRAM_PID"
check "SIGTERM ends it within a second" ends_by_signal 1000 "$PROGRAM_PID" TERM

"$LUMIVANE" --window-id nonsense >/dev/null 2>&1
check "an unreadable window id is a usage error" test $? -eq 2

# An id that names no window fails, saying where the id came from.
while IFS='|' read -r variable call said; do
    # shellcheck disable=SC2086 # the words of the call
    message=$(env ${variable:+XSCREENSAVER_WINDOW=$variable} "$LUMIVANE" $call 2>&1 >/dev/null)
    status=$?
    check "\"$call\"${variable:+ with XSCREENSAVER_WINDOW=$variable} exits 1 (got $status)" \
        test $status -eq 1
    check "... saying \"$said\"" test "$message" = "lumivane: $said"
done <<'CASES'
|--window-id 0x7777777|there is no window 0x7777777 (from --window-id) to draw into
0x7777777|--root|there is no window 0x7777777 (from XSCREENSAVER_WINDOW) to draw into
0x7777777|/p|there is no window 0x7777777 (from XSCREENSAVER_WINDOW) to draw into
|/p 123|there is no window 123 (from the argument) to draw into
|/p|no window to draw into (give one, or set XSCREENSAVER_WINDOW)
root|--root|XSCREENSAVER_WINDOW="root" is not a window id (hexadecimal 0x... or decimal)
CASES

finish
