#!/bin/sh
# Installs a built tree into a scratch folder and packs it as a .deb. The installed tree and the
# unpacked package must each hold every file, pass desktop-file-validate and appstreamcli, and
# name the one version; the package must depend on the libraries the program links and leave
# lintian with no error and no warning.
# Usage: install.sh BUILD_DIR VERSION APPLICATION_ID
set -eu
build=$1 version=$2 id=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failed=0
fail() { echo "FAIL: $*"; failed=1; }

files() {
    printf '%s\n' usr/bin/tintaro "usr/share/tintaro/Terms of use.txt" \
        usr/share/tintaro/tintaro.html usr/share/applications/$id.desktop \
        usr/share/metainfo/$id.metainfo.xml \
        usr/share/icons/hicolor/32x32/apps/$id.png usr/share/icons/hicolor/128x128/apps/$id.png \
        usr/share/man/man1/tintaro.1.gz usr/share/doc/tintaro/copyright \
        usr/share/doc/tintaro/changelog.gz \
        usr/lib/udev/rules.d/70-tintaro-uinput.rules usr/lib/modules-load.d/tintaro.conf \
        usr/share/bash-completion/completions/tintaro \
        usr/share/dbus-1/interfaces/$id.Leds.xml
}

# The checks a tree below $1 must pass, $2 naming it in messages.
check_tree() {
    root=$1 tree=$2
    files | while IFS= read -r f; do [ -f "$root/$f" ] || echo "FAIL: $tree lacks /$f"; done |
        grep . && failed=1
    [ -x "$root/usr/bin/tintaro" ] || fail "$tree: the program is not executable"
    desktop-file-validate "$root/usr/share/applications/$id.desktop" ||
        fail "$tree: invalid desktop entry"
    # The metainfo with the desktop entry its launchable names; --strict counts infos too.
    appstreamcli validate-tree --no-net --strict "$root/usr" || fail "$tree: invalid metainfo"
    grep -q "^Icon=$id\$" "$root/usr/share/applications/$id.desktop" ||
        fail "$tree: the desktop entry does not name the icon $id"
    for size in 32 128; do
        file "$root/usr/share/icons/hicolor/${size}x${size}/apps/$id.png" |
            grep -q "PNG image data, $size x $size," || fail "$tree: the ${size}x${size} icon is no such PNG"
    done
    grep -q '^KERNEL=="uinput".*TAG+="uaccess"' "$root/usr/lib/udev/rules.d/70-tintaro-uinput.rules" ||
        fail "$tree: the udev rule does not open /dev/uinput to the seat's user"
    grep -qx uinput "$root/usr/lib/modules-load.d/tintaro.conf" ||
        fail "$tree: uinput is not loaded at boot"
    released=$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$root/usr/share/metainfo/$id.metainfo.xml" | head -n 1)
    [ "$released" = "$version" ] || fail "$tree: the metainfo's newest release is $released, not $version"
    zcat "$root/usr/share/man/man1/tintaro.1.gz" | grep -q "^\.TH TINTARO 1 \"[0-9-]*\" \"Tintaro $version\"" ||
        fail "$tree: the manual page does not name version $version"
    zcat "$root/usr/share/doc/tintaro/changelog.gz" | head -n 1 | grep -q "^tintaro ($version) " ||
        fail "$tree: the changelog's newest entry is not $version"
    grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/$' \
        "$root/usr/share/doc/tintaro/copyright" || fail "$tree: the copyright file is not DEP-5"
}

DESTDIR=$scratch/installed cmake --install "$build" --prefix /usr >/dev/null
check_tree "$scratch/installed" "the installed tree"

cpack --config "$build/CPackConfig.cmake" -B "$scratch/package" >"$scratch/log" 2>&1 ||
    { cat "$scratch/log"; exit 1; }
deb=$(ls "$scratch"/package/tintaro_*.deb)
dpkg-deb -x "$deb" "$scratch/unpacked"
check_tree "$scratch/unpacked" "$(basename "$deb")"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "the package is not version $version"
depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6widgets6 libevdev2 libxtst6 libc6; do
    echo "$depends" | grep -q "$package" || fail "no dependency on $package: $depends"
done
# As Debian's archive checks a package; infos are shown, not counted.
lintian --fail-on error,warning --display-info "$deb" >"$scratch/lintian" 2>&1 ||
    fail "lintian reports errors or warnings"
grep -v '^running with root privileges' "$scratch/lintian" || true
dpkg-deb -I "$deb" postrm 2>/dev/null | grep -q 'udevadm trigger' ||
    fail "removing the package leaves /dev/uinput open to the seat's user until the next start"

[ $failed -eq 0 ] && echo "the installed tree and $(basename "$deb") hold every file, valid, at $version"
exit $failed
