#!/usr/bin/env bash
# Runs the program on the current display, or, without one, in a virtual X
# server and writes a screenshot so the run can still be seen.
set -euo pipefail
program=$1
shift
if [[ -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ]]; then
    exec "$program" "$@"
fi
echo "No display: running in a virtual X server for 5 seconds."
# A bare machine may have no session runtime folder; give the run a private one.
if [[ -z "${XDG_RUNTIME_DIR:-}" ]]; then
    XDG_RUNTIME_DIR=$(mktemp -d /tmp/lumivane-runtime.XXXXXX)
    export XDG_RUNTIME_DIR
    trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
fi
xvfb-run -a -s "-screen 0 1280x720x24" bash -c '
    "$0" "$@" & pid=$!
    sleep 4
    import -window root lumivane-screenshot.png && echo "Screenshot: lumivane-screenshot.png"
    kill -TERM $pid 2>/dev/null; wait $pid 2>/dev/null || true
' "$program" "$@"
