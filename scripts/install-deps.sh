#!/usr/bin/env bash
# Installs the Debian packages Lumivane needs to build, test and benchmark;
# with --program only those that building and running the program need.
# Does nothing when everything is already there.
set -euo pipefail

packages=(
    build-essential cmake pkg-config git
    qt6-base-dev libgl-dev libxcb1-dev libxcb-dpms0-dev libxkbcommon-dev
    libwayland-dev wayland-protocols plasma-wayland-protocols libxcb-screensaver0-dev
    qt6-wayland
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    fonts-liberation fonts-dejavu-core
    xvfb xauth imagemagick
)
if [[ ${1:-} != --program ]]; then
    packages+=(
        g++-mingw-w64-x86-64
        xdotool x11-apps x11-utils xscreensaver xscreensaver-data xscreensaver-data-extra
        xscreensaver-gl
        clang-format clang-14 libclang-rt-14-dev
        dpkg-dev desktop-file-utils man-db libxml2-utils lintian appstream
        sway grim wtype xwayland dbus python3-dbus python3-gi
    )
fi

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if ((${#missing[@]} == 0)); then
    exit 0
fi

echo "Installing: ${missing[*]}"
sudo=()
if [[ $(id -u) -ne 0 ]]; then
    sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
