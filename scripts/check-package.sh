#!/usr/bin/env bash
# Checks a built Debian package: lintian finds no error or warning in it, it
# holds every file it should, its manual page renders without warnings, its
# desktop, AppStream and XScreenSaver entries are valid, and the program
# unpacked from it finds the collection it brings.
set -uo pipefail
deb=${1:?usage: $0 PACKAGE.deb}
failed=0
pass() { echo "PASS: $*"; }
fail() { echo "FAIL: $*"; failed=1; }
check() { local what=$1; shift; if "$@"; then pass "$what"; else fail "$what"; fi; }

root=$(mktemp -d /tmp/lumivane-package.XXXXXX)
trap 'rm -rf "$root"' EXIT

# Errors and warnings fail; overrides are in packaging/debian/lintian-overrides.
# lintian warns when run as root, which says nothing about the package.
lintian_output=$(lintian --fail-on error,warning "$deb" 2>&1)
check "lintian finds no error or warning" test $? -eq 0
grep -v '^running with root privileges' <<<"$lintian_output"

id=org.lumivane.Lumivane
listing=$(dpkg-deb -c "$deb")
for file in usr/bin/lumivane usr/libexec/xscreensaver/lumivane \
    usr/share/xscreensaver/config/lumivane.xml usr/share/applications/$id.desktop \
    usr/share/applications/screensavers/lumivane.desktop usr/share/metainfo/$id.metainfo.xml \
    usr/share/icons/hicolor/scalable/apps/$id.svg usr/share/man/man6/lumivane.6.gz \
    usr/share/lumivane/Lumivane.dat usr/share/lumivane/lumivane-idle.desktop \
    usr/share/doc/lumivane/manual.html \
    usr/share/doc/lumivane/copyright usr/share/doc/lumivane/changelog.Debian.gz \
    usr/share/doc-base/lumivane; do
    check "the package holds /$file" grep -q " \./$file\( \|$\)" <<<"$listing"
done
for side in 16 24 32 48 64 128 256; do
    check "... and the ${side}x$side icon" \
        grep -q " \./usr/share/icons/hicolor/${side}x$side/apps/$id.png$" <<<"$listing"
done
check "it recommends qt6-wayland and xdg-utils" \
    test "$(dpkg-deb -f "$deb" Recommends)" = "qt6-wayland, xdg-utils"

dpkg-deb -x "$deb" "$root"
bin=$root/usr/bin/lumivane
version=$(dpkg-deb -f "$deb" Version)
check "the program says its version" test "$("$bin" --version)" = "Lumivane ${version%-*}"
# What lintian only mentions as information: the flags of dpkg-buildflags took
# effect, and the program is stripped as Debian strips programs.
check "the program is position-independent, with full RELRO bound at start-up" \
    grep -q 'Flags: NOW PIE' <(readelf -dW "$bin")
check "... has read-only relocations" grep -q GNU_RELRO <(readelf -lW "$bin")
check "... calls fortified library functions" grep -q '_chk@' <(nm -D "$bin")
check "... and is stripped of symbols and notes" \
    bash -c '! readelf -SW "$1" | grep -qE "\.(symtab|comment|debug_info) "' _ "$bin"
check "the hack link leads to the program" \
    test "$(readlink -f "$root/usr/libexec/xscreensaver/lumivane")" = "$(readlink -f "$bin")"

home=$root/home
mkdir -p "$home"
listed=$(HOME=$home XDG_DATA_HOME=$home/.local/share XDG_CONFIG_HOME=$home/.config \
    XDG_DATA_DIRS=$root/usr/share "$bin" --list 2>&1)
check "the unpacked program lists the installed collection" \
    test "$(grep -c $'^[0-9]*\t' <<<"$listed")" -ge 40

warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$root/usr/share/man/man6/lumivane.6.gz" \
    2>&1 >/dev/null)
check "the manual page renders without warnings" test -z "$warnings"
[[ -z $warnings ]] || echo "$warnings"
check "the manual page names the version" \
    grep -q "Lumivane ${version%-*}" \
    <(MANWIDTH=80 man -l "$root/usr/share/man/man6/lumivane.6.gz" 2>/dev/null)

xml=$root/usr/share/xscreensaver/config/lumivane.xml
check "the XScreenSaver entry is well-formed" xmllint --noout "$xml"
check "... is a screensaver named lumivane" \
    test "$(xmllint --xpath 'string(/screensaver/@name)' "$xml")" = lumivane
check "... runs the hack with --root" \
    test "$(xmllint --xpath 'string(/screensaver/command/@arg)' "$xml")" = --root
check "... has a description" \
    test -n "$(xmllint --xpath 'normalize-space(/screensaver/_description)' "$xml")"
check "... offers the modes, the pattern and the two switches" \
    test "$(xmllint --xpath 'count(/screensaver/select/option) + count(/screensaver/string)
        + count(/screensaver/boolean)' "$xml")" = 8
for entry in "$root/usr/share/applications/$id.desktop" \
    "$root/usr/share/applications/screensavers/lumivane.desktop" \
    "$root/usr/share/lumivane/lumivane-idle.desktop"; do
    check "desktop-file-validate passes on ${entry#$root}" desktop-file-validate "$entry"
done
check "appstreamcli validates the metainfo" \
    appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml"
check "... and the installed tree (desktop entry and icon included)" \
    appstreamcli validate-tree --no-net "$root"
check "the metainfo launches the menu entry" \
    grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" \
    "$root/usr/share/metainfo/$id.metainfo.xml"
check "the copyright file holds the project's licence" \
    grep -q "$(sed -n 5p "$(dirname "$0")/../LICENSE")" "$root/usr/share/doc/lumivane/copyright"

exit $failed
