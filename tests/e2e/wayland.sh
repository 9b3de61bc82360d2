#!/usr/bin/env bash
# A Wayland desktop: sway on its headless backend with two outputs, the way
# swayidle starts the saver. "lumivane /s" covers both outputs with a moving
# kaleidoscope and a key ends it with status 0; the hack modes, which need an
# X11 host window, say so and exit 1; the dialog's window carries the desktop
# id. Under XWayland (QT_QPA_PLATFORM=xcb) each output gets a window of its own.
source "$(dirname "$0")/e2e_lib.sh"
require_tools sway swaymsg grim wtype convert compare
source "$(dirname "$0")/sway_lib.sh"
start_sway 2

# A copy of the program the test user can run, and its pictures.
mkdir -p "$WORK/bin"
cp "$LUMIVANE" "$WORK/bin/lumivane"
chmod 755 "$WORK/bin" "$WORK/bin/lumivane"
SHOTS=$SWAY_HOME/shots

# shot_output NAME FILE: a screenshot of one output.
shot_output() { as_sway_user grim -o "$1" "$SHOTS/out.png" 2>/dev/null && cp "$SHOTS/out.png" "$2"; }

# covers_outputs: every output shows a kaleidoscope that moves.
covers_outputs() {
    local name
    for name in $(output_names); do
        shot_output "$name" "$WORK/$name-a.png" && not_black "$WORK/$name-a.png" || return 1
    done
    sleep 1
    for name in $(output_names); do
        shot_output "$name" "$WORK/$name-b.png" && differ "$WORK/$name-a.png" "$WORK/$name-b.png" ||
            return 1
    done
}

# saver_runs ARGS...: the program as the test user in the background.
saver_runs() {
    sway_user_command
    "${SWAY_RUN[@]}" "$WORK/bin/lumivane" "$@" >>"$WORK/program.log" 2>&1 &
    PROGRAM_PID=$!
}

# windows_on_outputs N: the compositor shows N full-screen windows of ours,
# each on another output.
windows_on_outputs() {
    as_sway_user swaymsg -t get_tree -r | /usr/bin/python3 -c '
import json, sys
def walk(node, output=None):
    if node.get("type") == "output":
        output = node["name"]
    if node.get("pid") and node.get("fullscreen_mode"):
        yield output
    for child in node.get("nodes", []) + node.get("floating_nodes", []):
        yield from walk(child, output)
outputs = list(walk(json.load(sys.stdin)))
sys.exit(0 if len(outputs) == int(sys.argv[1]) == len(set(outputs)) else 1)' "$1"
}

saver_runs /s
check "/s puts a full-screen window on each of the two outputs" poll 100 windows_on_outputs 2
check "... and both show a moving kaleidoscope" poll 50 covers_outputs
keep_shot "$WORK/HEADLESS-1-b.png" wayland-saver-1
keep_shot "$WORK/HEADLESS-2-b.png" wayland-saver-2
# A key ends it (see sway_key_until).
program_ended() { ! still_running "$PROGRAM_PID"; }
key_ends_saver() { sway_key_until program_ended && ends_cleanly 1000 "$PROGRAM_PID"; }
check "a key ends the saver with status 0" key_ends_saver

for hack in "/p 12345" "--root" "--window-id 0x400001"; do
    # shellcheck disable=SC2086 # the words of the call
    message=$(as_sway_user "$WORK/bin/lumivane" $hack 2>&1 >/dev/null)
    status=$?
    check "\"lumivane $hack\" needs an X11 host window: exits 1 (got $status)" test $status -eq 1
    check "... and says so in one line" \
        test "$message" = "lumivane: ${hack%% *} needs an X11 host window, and this Wayland session has no X display"
done

saver_runs /c
app_id_shown() { as_sway_user swaymsg -t get_tree | grep -q '"app_id": "org.lumivane.Lumivane"'; }
check "the dialog's window has the app id org.lumivane.Lumivane" poll 100 app_id_shown
if [[ -n ${LUMIVANE_E2E_SHOTS:-} ]]; then
    sleep 1
    shot_output HEADLESS-1 "$WORK/dialog.png" && keep_shot "$WORK/dialog.png" wayland-dialog
fi
kill -TERM "$PROGRAM_PID"
wait "$PROGRAM_PID" 2>/dev/null

# XWayland: X11 windows of the saver, each placed on its own output.
X_ON_SWAY=$(sway_x_display)
SWAY_ENV=(QT_QPA_PLATFORM=xcb DISPLAY="$X_ON_SWAY")
saver_runs /s
check "under XWayland each output gets a window of its own" poll 100 covers_outputs
keep_shot "$WORK/HEADLESS-2-b.png" xwayland-saver-2
kill -TERM "$PROGRAM_PID"
check "SIGTERM ends the saver by that signal" ends_by_signal 3000 "$PROGRAM_PID" TERM
SWAY_ENV=()

finish
