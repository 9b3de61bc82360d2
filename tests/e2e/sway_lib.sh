# A headless Wayland compositor for the end-to-end scripts: sway on its
# headless backend, with a number of virtual outputs side by side. sway refuses
# to run as root, so as root it runs as an unprivileged user, made here when
# missing. Sourced after e2e_lib.sh.
#
#   start_sway OUTPUTS   starts it; exports WAYLAND_DISPLAY and SWAYSOCK
#   as_sway_user CMD...  runs CMD as that user in the compositor's session
#   sway_user_command    sets SWAY_RUN to the words that do so, for commands
#                        started in the background ("${SWAY_RUN[@]}" CMD &),
#                        so that $! is the process a signal reaches
#   sway_x_display       the X display of its XWayland, started on first use
#   output_names         the outputs, one a line (HEADLESS-1, HEADLESS-2, ...)
#   stop_sway            ends sway (also done when the script exits)
# Each output is SWAY_OUTPUT_SIZE (default 640x480); the folders under $WORK
# that the user needs are made readable for it.

SWAY_OUTPUT_SIZE=${SWAY_OUTPUT_SIZE:-640x480}
SWAY_USER=$(id -un)
SWAY_AS_USER=()
if [[ $(id -u) -eq 0 ]]; then
    require_tools runuser useradd
    SWAY_USER=lumivane-test
    if ! id "$SWAY_USER" >/dev/null 2>&1; then
        useradd --system --no-create-home --shell /usr/sbin/nologin "$SWAY_USER" || exit 1
    fi
    SWAY_AS_USER=(runuser -u "$SWAY_USER" --)
fi
SWAY_HOME=$WORK/sway-home

# SWAY_ENV: more NAME=VALUE words for the commands run (an array).
SWAY_ENV=()
sway_user_command() {
    SWAY_RUN=(${SWAY_AS_USER[@]+"${SWAY_AS_USER[@]}"} env -i PATH=/usr/bin:/bin HOME="$SWAY_HOME"
        XDG_RUNTIME_DIR="$SWAY_HOME/runtime" XDG_CONFIG_HOME="$SWAY_HOME/.config"
        XDG_DATA_HOME="$SWAY_HOME/.local/share" XDG_DATA_DIRS="$SWAY_HOME/system")
    [[ -n ${WAYLAND_DISPLAY:-} ]] && SWAY_RUN+=(WAYLAND_DISPLAY="$WAYLAND_DISPLAY")
    [[ -n ${SWAYSOCK:-} ]] && SWAY_RUN+=(SWAYSOCK="$SWAYSOCK")
    # Full allocation stacks through libraries without frame pointers
    # (libwayland-client), which the leak suppressions of Qt's Wayland plugin need.
    SWAY_RUN+=("${SANITIZER_ENV[@]}" "ASAN_OPTIONS=$ASAN_OPTIONS:fast_unwind_on_malloc=0")
    SWAY_RUN+=(${SWAY_ENV[@]+"${SWAY_ENV[@]}"})
}
as_sway_user() {
    sway_user_command
    "${SWAY_RUN[@]}" "$@"
}

start_sway() {
    local outputs=${1:?usage: start_sway OUTPUTS} width=${SWAY_OUTPUT_SIZE%x*} i
    require_tools sway swaymsg
    chmod 755 "$WORK"
    mkdir -p "$SWAY_HOME/runtime" "$SWAY_HOME/shots"
    {
        echo "default_border none"
        echo "xwayland enable"
        for ((i = 1; i <= outputs; i++)); do
            echo "output HEADLESS-$i resolution $SWAY_OUTPUT_SIZE position $(((i - 1) * width)) 0" \
                "bg #000000 solid_color"
        done
    } >"$SWAY_HOME/config"
    chown -R "$SWAY_USER" "$SWAY_HOME"
    chmod 700 "$SWAY_HOME/runtime"
    unset WAYLAND_DISPLAY SWAYSOCK
    SWAY_ENV=(WLR_BACKENDS=headless WLR_HEADLESS_OUTPUTS="$outputs" WLR_LIBINPUT_NO_DEVICES=1
        WLR_RENDERER=pixman)
    sway_user_command
    "${SWAY_RUN[@]}" sway -c "$SWAY_HOME/config" >"$WORK/sway.log" 2>&1 &
    SWAY_PID=$!
    SWAY_ENV=()
    local socket=''
    for i in $(seq 100); do
        socket=$(find "$SWAY_HOME/runtime" -maxdepth 1 -name 'sway-ipc.*.sock' | head -n 1)
        [[ -n $socket ]] && break
        sleep 0.1
    done
    export SWAYSOCK=$socket
    export WAYLAND_DISPLAY
    WAYLAND_DISPLAY=$(find "$SWAY_HOME/runtime" -maxdepth 1 -name 'wayland-*' ! -name '*.lock' \
        -printf '%f\n' | head -n 1)
    for i in $(seq 50); do
        [[ -n $socket && $(output_names 2>/dev/null | wc -l) -eq $outputs ]] && return 0
        sleep 0.1
    done
    echo "sway did not start with $outputs outputs:"
    sed 's/^/  | /' "$WORK/sway.log"
    exit 1
}

output_names() {
    as_sway_user swaymsg -t get_outputs -r | /usr/bin/python3 -c \
        'import json, sys; [print(o["name"]) for o in json.load(sys.stdin) if o.get("active")]'
}

sway_x_display() {
    local file=$SWAY_HOME/shots/display i
    rm -f "$file"
    as_sway_user swaymsg exec "echo \$DISPLAY > $file" >/dev/null
    for i in $(seq 50); do
        [[ -s $file ]] && break
        sleep 0.1
    done
    cat "$file"
}

stop_sway() {
    [[ -n ${SWAY_PID:-} ]] || return 0
    as_sway_user swaymsg exit >/dev/null 2>&1
    ends_within 3000 "$SWAY_PID" || kill -TERM "$SWAY_PID" 2>/dev/null
    wait "$SWAY_PID" 2>/dev/null
    SWAY_PID=
}

# sway_key_until COMMAND...: presses a key through wtype, again each second
# (times TIME_FACTOR) up to five times, until COMMAND succeeds; LAST_KEY_MS is
# when the last key went. wtype's virtual keyboard brings a keymap of its own,
# and the first key after a new keymap can be lost, most often in the slow
# sanitizer build.
sway_key_until() {
    local i
    for ((i = 0; i < 5; i++)); do
        LAST_KEY_MS=$(date +%s%3N)
        as_sway_user wtype a
        poll 10 "$@" && return 0
    done
    return 1
}
