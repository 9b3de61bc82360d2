#!/usr/bin/env bash
# The idle watcher on headless sway, through the Wayland idle protocols (sway
# 1.7 offers org_kde_kwin_idle, later ones ext-idle-notify-v1 first): the
# saver starts after the idle time, input before that puts it off, after a
# key has ended it, it starts again after the next idle period, and a
# compositor that goes away ends the watcher with status 3.
source "$(dirname "$0")/e2e_lib.sh"
source "$(dirname "$0")/idle_lib.sh"
source "$(dirname "$0")/sway_lib.sh"
require_tools sway wtype grim pgrep compare
start_sway 1

# A copy of the program the test user can run.
mkdir -p "$WORK/bin"
cp "$LUMIVANE" "$WORK/bin/lumivane"
chmod 755 "$WORK/bin" "$WORK/bin/lumivane"

# The saver's window is full screen, and two screenshots a second apart differ.
saver_fullscreen() {
    as_sway_user swaymsg -t get_tree | /usr/bin/python3 -c '
import json, sys
def walk(node):
    if node.get("app_id") == "org.lumivane.Lumivane" and node.get("fullscreen_mode") == 1:
        sys.exit(0)
    for child in node.get("nodes", []) + node.get("floating_nodes", []):
        walk(child)
walk(json.load(sys.stdin))
sys.exit(1)'
}
sway_moving() {
    as_sway_user grim "$SWAY_HOME/a.png" && sleep 1 && as_sway_user grim "$SWAY_HOME/b.png" &&
        differ "$SWAY_HOME/a.png" "$SWAY_HOME/b.png"
}

start_watcher as_sway_user env -u DISPLAY QT_QPA_PLATFORM=wayland "$WORK/bin/lumivane" \
    --idle "${IDLE}s"
check "the watcher uses a Wayland idle protocol" \
    poll 50 grep -qE "watching (org_kde_kwin_idle|ext-idle-notify-v1)" "$WORK/watcher.log"

input_for $((IDLE + 2)) as_sway_user wtype -k Shift_L
mark
check "key input every half second keeps the saver off" no_saver
check "the saver starts once the idle time has passed since the last input" starts_after_idle
check "... full screen" poll 50 saver_fullscreen
check "... with a moving kaleidoscope" sway_moving
keep_shot "$SWAY_HOME/b.png" idle-sway
sleep 0.5
check "a key ends the saver" sway_key_until no_saver
MARK=$LAST_KEY_MS
check "it starts again after the next idle period, not at once" starts_after_idle

saver=$(saver_pid)
stop_sway
wait_watcher
check "a compositor that goes away ends the watcher with status 3" test "$WATCHER_STATUS" -eq 3
check "... with a line saying so" watcher_said "lost the connection to the Wayland compositor"
check "... and its saver with it" poll 30 gone "$saver"
finish
