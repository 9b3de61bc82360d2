#!/usr/bin/env bash
# Resident memory of the full-screen saver over time on one 1920x1080 screen of
# a virtual X server (Xvfb), default settings and pattern: it must not grow.
#
#   bench/memory.sh [LUMIVANE] [SECONDS...]
#
# LUMIVANE defaults to build/app/lumivane; the SECONDS (default 10 120 600) are
# the moments after start at which the resident set is read.
set -euo pipefail

LUMIVANE=${1:-build/app/lumivane}
shift || true
MOMENTS=("$@")
((${#MOMENTS[@]} > 0)) || MOMENTS=(10 120 600)

command -v Xvfb >/dev/null || { echo "Xvfb is needed" >&2; exit 1; }
[[ -x $LUMIVANE ]] || { echo "no program at $LUMIVANE (build it first)" >&2; exit 1; }

WORK=$(mktemp -d /tmp/lumivane-memory.XXXXXX)
cleanup() {
    local pid
    for pid in $(jobs -pr); do kill -TERM "$pid" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT

export HOME=$WORK/home XDG_CONFIG_HOME=$WORK/home/.config XDG_DATA_HOME=$WORK/home/.local/share
export XDG_DATA_DIRS=$WORK/system XDG_RUNTIME_DIR=$WORK/runtime QT_QPA_PLATFORM=xcb
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

mkfifo "$WORK/displayfd"
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$WORK/displayfd" 2>/dev/null &
read -r -t 10 number <"$WORK/displayfd"
export DISPLAY=:$number

"$LUMIVANE" /s >/dev/null 2>&1 &
PID=$!
START=$(date +%s)
echo "Resident memory of lumivane /s at 1920x1080 (Xvfb)"
printf '%8s %12s %12s\n' seconds "RSS (KiB)" "peak (KiB)"
for moment in "${MOMENTS[@]}"; do
    while (($(date +%s) - START < moment)); do
        kill -0 "$PID" 2>/dev/null || { echo "the saver ended early" >&2; exit 1; }
        sleep 1
    done
    awk -v s="$moment" '/^VmRSS/ { rss = $2 } /^VmHWM/ { hwm = $2 }
        END { printf "%8d %12d %12d\n", s, rss, hwm }' "/proc/$PID/status"
done
