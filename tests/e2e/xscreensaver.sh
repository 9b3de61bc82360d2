#!/usr/bin/env bash
# The real host: the XScreenSaver daemon runs the program as a hack, written
# with the classic single-dash word ("lumivane -root") and with options of ours
# ("lumivane --root --mode cycle"), shows the kaleidoscope when activated and
# ends the program when deactivated. Lockers that run hacks themselves
# (xsecurelock) pass "-root" as it is: that run closes the test. The daemon refuses to run as root, so as root the
# test runs it as an unprivileged user, made here when missing.
source "$(dirname "$0")/e2e_lib.sh"
require_tools Xvfb xscreensaver xscreensaver-command import convert compare pgrep
start_x 800x600

SAVER_USER=$(id -un)
run_as_user=()
if [[ $(id -u) -eq 0 ]]; then
    require_tools runuser useradd
    SAVER_USER=lumivane-test
    if ! id "$SAVER_USER" >/dev/null 2>&1; then
        useradd --system --no-create-home --shell /usr/sbin/nologin "$SAVER_USER" || exit 1
    fi
    run_as_user=(runuser -u "$SAVER_USER" --)
fi

# A copy of the program and a home the user can read.
chmod 755 "$WORK"
SAVER_HOME=$WORK/saver-home
# The hand-written entries run it by a name of its own, so that the list
# command, which looks for "lumivane", still has its entry to add.
HACK=$WORK/bin/lumivane-under-test
mkdir -p "$SAVER_HOME/runtime" "$WORK/bin" "$WORK/path"
cp "$LUMIVANE" "$HACK"
cp "$LUMIVANE" "$WORK/path/lumivane"
chmod 755 "$HACK" "$WORK/path" "$WORK/path/lumivane"
cat >"$SAVER_HOME/.xscreensaver" <<CONFIG
timeout:	1:00:00
cycle:		0
lock:		False
splash:		False
fade:		False
unfade:		False
dpmsEnabled:	False
mode:		one
selected:	0
programs:	"Lumivane" $HACK -root \n\
		"Lumivane cycle" $HACK --root --mode cycle \n
CONFIG
chown -R "$SAVER_USER" "$SAVER_HOME"
chmod 700 "$SAVER_HOME/runtime"

as_user() {
    "${run_as_user[@]}" env -i PATH="$WORK/path:/usr/bin:/bin" HOME="$SAVER_HOME" DISPLAY="$DISPLAY" \
        XDG_RUNTIME_DIR="$SAVER_HOME/runtime" XDG_CONFIG_HOME="$SAVER_HOME/.config" \
        XDG_DATA_HOME="$SAVER_HOME/.local/share" XDG_DATA_DIRS="$SAVER_HOME/system" \
        "${SANITIZER_ENV[@]}" "$@"
}

hack_pids() { pgrep -u "$SAVER_USER" -f "^($HACK|lumivane) --?root"; }
hack_is() { pgrep -u "$SAVER_USER" -fx "$HACK $1" >/dev/null; }

no_hack_left() { ! hack_pids >/dev/null; }

# What a daemon that does not answer is doing, for the log: alive or not,
# where it waits, and its own log.
describe_daemon() {
    local pid
    pid=$(pgrep -u "$SAVER_USER" -x xscreensaver | head -n 1)
    if [[ -z $pid ]]; then
        echo "  the daemon is not running"
    else
        echo "  the daemon (pid $pid) waits in: $(cat "/proc/$pid/wchan" 2>/dev/null)"
        if command -v gdb >/dev/null 2>&1; then
            timeout 20 gdb -p "$pid" -batch -ex bt 2>/dev/null | grep '^#' | sed 's/^/  /'
        fi
    fi
    sed 's/^/  | /' "$WORK/xscreensaver.log"
}

# told_to_end PID...: the daemon's log says it sent each of them SIGTERM.
told_to_end() {
    local pid
    for pid in "$@"; do
        grep -q "killing pid $pid " "$WORK/xscreensaver.log" || return 1
    done
}

# deactivate_ends_hack: deactivating the daemon ends the running hack within a
# second of the daemon telling it to end. The daemon may drop a deactivation
# that reaches it while it is busy (it compares the times of its events in
# whole seconds), so one it did not pass on is sent again.
deactivate_ends_hack() {
    local pids try
    read -ra pids < <(hack_pids | tr '\n' ' ')
    if ((${#pids[@]} == 0)); then
        echo "  no hack was running"
        return 1
    fi
    for try in 1 2 3; do
        as_user xscreensaver-command -deactivate >>"$WORK/command.log" 2>&1
        poll 30 told_to_end "${pids[@]}" || continue
        poll 10 no_hack_left && return 0
        echo "  the daemon told pid ${pids[*]} to end, which runs on"
        describe_daemon
        return 1
    done
    echo "  the daemon passed none of three deactivations on"
    sed 's/^/  > /' "$WORK/command.log"
    describe_daemon
    return 1
}

stop_daemon() {
    as_user xscreensaver-command -exit >/dev/null 2>&1
    ends_within 2000 "$DAEMON_PID" || kill -TERM "$DAEMON_PID" 2>/dev/null
    pkill -KILL -u "$SAVER_USER" -x xscreensaver 2>/dev/null
    wait "$DAEMON_PID" 2>/dev/null
}

# start_daemon: the daemon in the background, true once it answers. A loaded
# machine may take a while to start the daemon and its helpers.
start_daemon() {
    as_user xscreensaver --no-splash --verbose >"$WORK/xscreensaver.log" 2>&1 &
    DAEMON_PID=$!
    poll 200 as_user xscreensaver-command -version && return 0
    echo "The XScreenSaver daemon did not answer within 20 s:"
    describe_daemon
    stop_daemon
    return 1
}

# The list command adds the entry the installed program is run by, found on
# the PATH, after the two above.
as_user lumivane --add-to-xscreensaver >>"$WORK/program.log" 2>&1
check "--add-to-xscreensaver adds Lumivane to the list" \
    grep -q '^[[:space:]]*"Lumivane"  lumivane --root' "$SAVER_HOME/.xscreensaver"

# The daemon is another program: when it does not come up on this machine
# even on a second try, there is nothing of ours to check.
if ! start_daemon && ! { start_x 800x600 && start_daemon; }; then
    echo "SKIP: the XScreenSaver daemon does not start here"
    exit $SKIP_STATUS
fi
pass "the daemon starts"

as_user xscreensaver-command -activate >/dev/null
check "activating the daemon starts the hack" poll 200 hack_pids
# The daemon passes its hacks' single-dash words on in their long form.
check "... as \"lumivane --root\"" hack_is --root
check "the kaleidoscope shows" wait_until_drawn
check "the kaleidoscope moves" moving
keep_shot "$WORK/b.png" xscreensaver

check "deactivating ends the hack within a second" deactivate_ends_hack

as_user xscreensaver-command -select 2 >/dev/null
check "selecting the second hack starts \"lumivane --root --mode cycle\"" \
    poll 200 hack_is "--root --mode cycle"
check "... which shows a moving kaleidoscope" poll 50 moving
check "deactivating ends it within a second" deactivate_ends_hack

as_user xscreensaver-command -select 3 >/dev/null
check "the daemon runs the entry --add-to-xscreensaver added" \
    poll 200 pgrep -u "$SAVER_USER" -fx "lumivane --root"
check "... which shows a moving kaleidoscope" poll 50 moving
check "deactivating ends it within a second" deactivate_ends_hack

stop_daemon
if ! no_hack_left; then
    echo "Daemon log:"
    tail -n 20 "$WORK/xscreensaver.log"
fi

as_user "$HACK" -root >>"$WORK/program.log" 2>&1 &
ROOT_PID=$!
check "\"lumivane -root\" as a locker runs it draws on the root window" wait_until_drawn
check "... and moves" moving
pkill -TERM -u "$SAVER_USER" -fx "$HACK -root"
check "... and ends on SIGTERM, by that signal, within a second" \
    ends_by_signal 1000 "$ROOT_PID" TERM
finish
