#!/usr/bin/env bash
# CPU cost of the full-screen saver, compared in the same run with the
# kaleidoscope hacks of the XScreenSaver collection: CPU seconds used by the
# program plus the X server per second of animation, on a virtual X server
# (Xvfb), with each program's default settings. Lumivane is measured at
# 1920x1080 as it starts by default (soft edges on), with soft edges off, and
# without shared-memory images (QT_XCB_NO_MITSHM=1), then at 3840x2160.
#
#   bench/cpu_cost.sh [LUMIVANE] [SECONDS]
#
# LUMIVANE defaults to build/app/lumivane; SECONDS (default 10) is the length
# of each measurement, taken after 2 seconds of warming up. Hacks that are not
# installed (packages xscreensaver-data-extra and xscreensaver-gl) are left out.
set -euo pipefail

LUMIVANE=${1:-build/app/lumivane}
SECONDS_MEASURED=${2:-10}
WARM_UP=2
HACKS=/usr/libexec/xscreensaver
GOAL=0.09    # of one core, for the default pattern at full speed at 1920x1080
STRETCH=0.075

for tool in Xvfb awk getconf; do
    command -v "$tool" >/dev/null || { echo "$tool is needed" >&2; exit 1; }
done
[[ -x $LUMIVANE ]] || { echo "no program at $LUMIVANE (build it first)" >&2; exit 1; }

source "$(dirname "$0")/bench_lib.sh"
SETTINGS="$XDG_CONFIG_HOME/Lumivane Screensaver/lumivane.conf"

# soft_edges 0|1: the saver's anti-aliasing setting.
soft_edges() {
    mkdir -p "$(dirname "$SETTINGS")"
    printf '[Config]\nAntiAlias=%s\n' "$1" >"$SETTINGS"
}

TICKS=$(getconf CLK_TCK)
# User plus system CPU ticks of a process, all its threads included.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

# measure NAME COMMAND...: runs COMMAND, then prints a table row.
measure() {
    local name=$1
    shift
    "$@" >/dev/null 2>&1 &
    local pid=$!
    sleep "$WARM_UP"
    if ! kill -0 "$pid" 2>/dev/null; then
        printf '%-28s did not run\n' "$name"
        return
    fi
    local p0 x0 p1 x1
    p0=$(cpu_ticks "$pid")
    x0=$(cpu_ticks "$XVFB_PID")
    sleep "$SECONDS_MEASURED"
    p1=$(cpu_ticks "$pid")
    x1=$(cpu_ticks "$XVFB_PID")
    kill -TERM "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null || true
    awk -v n="$name" -v p=$((p1 - p0)) -v x=$((x1 - x0)) -v t="$TICKS" -v s="$SECONDS_MEASURED" \
        'BEGIN { pp = p / t / s; xx = x / t / s;
                 printf "%-28s %9.3f %9.3f %9.3f %7.1f%%\n", n, pp, xx, pp + xx, 100 * (pp + xx) }'
    sleep 0.5
}

echo "CPU seconds per second of animation (Xvfb), ${SECONDS_MEASURED} s each"
printf '%-28s %9s %9s %9s %8s\n' program program "X server" total "of core"
start_x 1920x1080
soft_edges 1
measure "lumivane 1920x1080" "$LUMIVANE" /s | tee "$WORK/lumivane.row"
soft_edges 0
measure "lumivane, soft edges off" "$LUMIVANE" /s
soft_edges 1
QT_XCB_NO_MITSHM=1 measure "lumivane, no MIT-SHM" "$LUMIVANE" /s
for hack in kaleidescope gleidescope; do
    if [[ -x $HACKS/$hack ]]; then
        measure "$hack 1920x1080" "$HACKS/$hack" -root
    else
        printf '%-28s not installed\n' "$hack"
    fi
done
start_x 3840x2160
measure "lumivane 3840x2160" "$LUMIVANE" /s
awk -v goal="$GOAL" -v stretch="$STRETCH" '{ total = $(NF - 1) } END {
    printf "Goal for lumivane at 1920x1080: at most %.3f of one core (stretch %.3f): %s\n", goal,
           stretch, (total <= stretch ? "stretch met" : total <= goal ? "met" : "NOT met") }' \
    "$WORK/lumivane.row"
