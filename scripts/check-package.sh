#!/usr/bin/env bash
# Checks a built Debian package: it holds every file it should, its manual page
# renders without warnings, its desktop and XScreenSaver entries are valid, and
# the program unpacked from it finds the collection it brings.
set -uo pipefail
deb=${1:?usage: $0 PACKAGE.deb}
failed=0
pass() { echo "PASS: $*"; }
fail() { echo "FAIL: $*"; failed=1; }
check() { local what=$1; shift; if "$@"; then pass "$what"; else fail "$what"; fi; }

root=$(mktemp -d /tmp/lumivane-package.XXXXXX)
trap 'rm -rf "$root"' EXIT

listing=$(dpkg-deb -c "$deb")
for file in usr/bin/lumivane usr/libexec/xscreensaver/lumivane \
    usr/share/xscreensaver/config/lumivane.xml usr/share/applications/lumivane-settings.desktop \
    usr/share/applications/screensavers/lumivane.desktop \
    usr/share/icons/hicolor/scalable/apps/lumivane.svg usr/share/man/man6/lumivane.6.gz \
    usr/share/lumivane/Lumivane.dat usr/share/lumivane/lumivane-idle.desktop \
    usr/share/doc/lumivane/manual.html; do
    check "the package holds /$file" grep -q " \./$file\( \|$\)" <<<"$listing"
done

dpkg-deb -x "$deb" "$root"
bin=$root/usr/bin/lumivane
check "the program says its version" \
    test "$("$bin" --version)" = "Lumivane $(dpkg-deb -f "$deb" Version)"
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
    grep -q "Lumivane $(dpkg-deb -f "$deb" Version)" \
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
for entry in "$root/usr/share/applications/lumivane-settings.desktop" \
    "$root/usr/share/applications/screensavers/lumivane.desktop" \
    "$root/usr/share/lumivane/lumivane-idle.desktop"; do
    check "desktop-file-validate passes on ${entry#$root}" desktop-file-validate "$entry"
done

exit $failed
