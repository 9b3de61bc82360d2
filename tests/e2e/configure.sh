#!/usr/bin/env bash
# The configuration dialog on a virtual X server: "lumivane /c" opens it with a
# moving preview; Escape asks before leaving and Yes ends the program with 0.
source "$(dirname "$0")/e2e_lib.sh"
require_tools Xvfb xdotool xwininfo import convert compare
start_x 1280x900

TITLE="Lumivane Kaleidoscopic Screensaver \\(V4\\.0a\\)"

# find_window NAME: up to 5 s for a window of exactly that name; its id in $FOUND.
find_window() {
    local i
    for i in $(seq 50); do
        FOUND=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1)
        [[ -n $FOUND ]] && return 0
        sleep 0.1
    done
    return 1
}

# preview_shot FILE: the top left of the dialog, where the preview sits.
preview_shot() {
    local width height
    width=$(xwininfo -id "$DIALOG" | awk '/Width:/ { print $2 }')
    height=$(xwininfo -id "$DIALOG" | awk '/Height:/ { print $2 }')
    shot "$WORK/dialog.png" "$DIALOG" &&
        convert "$WORK/dialog.png" -crop "$((width / 2))x$((height / 2))+8+8" +repage "$1"
}

preview_moves() {
    preview_shot "$WORK/p1.png" && sleep 1 && preview_shot "$WORK/p2.png" &&
        not_black "$WORK/p2.png" && differ "$WORK/p1.png" "$WORK/p2.png"
}

start_program /c
check "/c opens the configuration dialog" find_window "$TITLE"
DIALOG=$FOUND
sleep 0.5
check "its preview animates" preview_moves
keep_shot "$WORK/dialog.png" configure

xdotool windowfocus --sync "$DIALOG" 2>/dev/null
xdotool key --clearmodifiers Escape
check "Escape asks \"Exit without saving changes?\"" find_window lumivane
QUESTION=$FOUND
check "... and the dialog stays open meanwhile" still_running "$PROGRAM_PID"
xdotool windowfocus --sync "$QUESTION" 2>/dev/null
xdotool key Return
check "answering Yes ends the program with status 0" ends_cleanly 2000 "$PROGRAM_PID"
check "... without writing a data file" test ! -e "$XDG_DATA_HOME/lumivane/Lumivane.dat"

finish
