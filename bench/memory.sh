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

source "$(dirname "$0")/bench_lib.sh"
start_x 1920x1080

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
