#!/usr/bin/env bash
# "--idle-autostart on|off": the shipped entry is copied into the user's
# autostart folder ($XDG_CONFIG_HOME/autostart, else ~/.config/autostart) and
# removed again; both may be repeated, and a value other than on or off is a
# usage error.
source "$(dirname "$0")/e2e_lib.sh"
SHIPPED=$(dirname "$LUMIVANE")/../share/lumivane/lumivane-idle.desktop
[[ -f $SHIPPED ]] || { echo "no $SHIPPED in the build"; exit 1; }
ENTRY=$XDG_CONFIG_HOME/autostart/lumivane-idle.desktop

run() { "$LUMIVANE" --idle-autostart "$@" >>"$WORK/out.log" 2>&1; }
is_copy() { cmp -s "$SHIPPED" "$1"; }
only_entry() { [[ $(ls -A "$XDG_CONFIG_HOME/autostart") == lumivane-idle.desktop ]]; }

check "on: copies the shipped entry into \$XDG_CONFIG_HOME/autostart" run on
check "... as it is" is_copy "$ENTRY"
if command -v desktop-file-validate >/dev/null; then
    check "... a valid desktop entry" desktop-file-validate "$ENTRY"
fi
check "on again: the same" run on
check "... with nothing else left in the folder" only_entry
check "off: succeeds" run off
check "... and removes it" test ! -e "$ENTRY"
check "off again: succeeds" run off

check "without XDG_CONFIG_HOME: on" env -u XDG_CONFIG_HOME "$LUMIVANE" --idle-autostart on \
    >>"$WORK/out.log"
check "... writes ~/.config/autostart" is_copy "$HOME/.config/autostart/lumivane-idle.desktop"
rm -f "$HOME/.config/autostart/lumivane-idle.desktop"
check "a relative XDG_CONFIG_HOME counts as unset" \
    env XDG_CONFIG_HOME=relative "$LUMIVANE" --idle-autostart on >>"$WORK/out.log"
check "... and ~/.config/autostart is used" is_copy "$HOME/.config/autostart/lumivane-idle.desktop"

# A program with no share folder beside it finds the entry in the data folders.
mkdir -p "$WORK/bin" "$WORK/data/lumivane"
cp "$LUMIVANE" "$WORK/bin/lumivane"
cp "$SHIPPED" "$WORK/data/lumivane/"
rm -f "$ENTRY"
check "the entry is found in \$XDG_DATA_DIRS" env XDG_DATA_DIRS="$WORK/data" \
    "$WORK/bin/lumivane" --idle-autostart on >>"$WORK/out.log"
status=0
"$WORK/bin/lumivane" --idle-autostart on 2>"$WORK/err.log" || status=$?
check "no entry anywhere: status 1" test "$status" -eq 1
status=0
"$LUMIVANE" --idle-autostart maybe 2>"$WORK/err.log" || status=$?
check "a value other than on and off: status 2" test "$status" -eq 2
finish
