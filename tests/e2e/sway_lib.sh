# A headless sway for the Wayland end-to-end tests. Sourced after e2e_lib.sh.
# sway refuses to run as root, so as root it runs as the unprivileged user
# lumivane-test (made here when missing), and so must its Wayland clients:
# run them with as_sway_user.
#
#   start_sway OUTPUTS   a sway with OUTPUTS headless outputs (default 1, 1024x768
#                        each); exports WAYLAND_DISPLAY and SWAYSOCK and sets
#                        SWAY_PID; skips the test (status 77) when sway is missing
#   as_sway_user CMD...  runs CMD as the user sway runs as, in its environment
#   stop_sway            ends sway (also done when the script exits)

SWAY_USER=$(id -un)
SWAY_AS_USER=()
SWAY_PID=

as_sway_user() {
    "${SWAY_AS_USER[@]}" env HOME="$SWAY_HOME" XDG_RUNTIME_DIR="$SWAY_RUNTIME" \
        XDG_CONFIG_HOME="$SWAY_HOME/.config" XDG_DATA_HOME="$SWAY_HOME/.local/share" \
        WAYLAND_DISPLAY="${WAYLAND_DISPLAY:-}" SWAYSOCK="${SWAYSOCK:-}" "$@"
}

start_sway() {
    local outputs=${1:-1} i
    require_tools sway swaymsg
    if [[ $(id -u) -eq 0 ]]; then
        require_tools runuser useradd
        SWAY_USER=lumivane-test
        if ! id "$SWAY_USER" >/dev/null 2>&1; then
            useradd --system --no-create-home --shell /usr/sbin/nologin "$SWAY_USER" || exit 1
        fi
        SWAY_AS_USER=(runuser -u "$SWAY_USER" --)
    fi
    chmod 755 "$WORK"
    SWAY_HOME=$WORK/sway-home
    SWAY_RUNTIME=$SWAY_HOME/runtime
    mkdir -p "$SWAY_RUNTIME" "$SWAY_HOME/.config/sway"
    {
        for ((i = 1; i <= outputs; i++)); do
            echo "output HEADLESS-$i resolution 1024x768 position $(((i - 1) * 1024)),0"
        done
        echo "xwayland disable"
        echo "default_border none"
    } >"$SWAY_HOME/.config/sway/config"
    chown -R "$SWAY_USER" "$SWAY_HOME"
    chmod 700 "$SWAY_RUNTIME"
    export SWAYSOCK=$SWAY_RUNTIME/sway.sock
    unset WAYLAND_DISPLAY
    "${SWAY_AS_USER[@]}" env -i PATH=/usr/bin:/bin HOME="$SWAY_HOME" \
        XDG_RUNTIME_DIR="$SWAY_RUNTIME" SWAYSOCK="$SWAYSOCK" WLR_BACKENDS=headless \
        WLR_HEADLESS_OUTPUTS="$outputs" WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
        sway --config "$SWAY_HOME/.config/sway/config" >"$WORK/sway.log" 2>&1 &
    SWAY_PID=$!
    for ((i = 0; i < 100; i++)); do
        if [[ -S $SWAYSOCK ]] && as_sway_user swaymsg -t get_version >/dev/null 2>&1; then
            local socket
            socket=$(cd "$SWAY_RUNTIME" && ls wayland-* 2>/dev/null | grep -v '\.lock$' | head -n 1)
            if [[ -n $socket ]]; then
                export WAYLAND_DISPLAY=$socket
                return 0
            fi
        fi
        if ! kill -0 "$SWAY_PID" 2>/dev/null; then
            break
        fi
        sleep 0.1
    done
    echo "sway did not start:"
    sed 's/^/  | /' "$WORK/sway.log"
    exit 1
}

stop_sway() {
    [[ -n $SWAY_PID ]] || return 0
    as_sway_user swaymsg exit >/dev/null 2>&1
    ends_within 3000 "$SWAY_PID" || kill -TERM "$SWAY_PID" 2>/dev/null
    wait "$SWAY_PID" 2>/dev/null
    SWAY_PID=
}
