#!/bin/sh
# Installs a built tree into a scratch folder and packs it as a .deb; both must hold the
# program, its data, a valid desktop entry, the icons, the udev rule and the modules-load
# entry, and the package must depend on the libraries the program links.
# Usage: install.sh BUILD_DIR
set -eu
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
root=$scratch/root
failed=0
fail() { echo "FAIL: $*"; failed=1; }
files() {
    printf '%s\n' usr/bin/tintaro "usr/share/tintaro/Terms of use.txt" \
        usr/share/tintaro/tintaro.html usr/share/applications/tintaro.desktop \
        usr/share/icons/hicolor/32x32/apps/tintaro.png \
        usr/share/icons/hicolor/128x128/apps/tintaro.png \
        usr/lib/udev/rules.d/70-tintaro-uinput.rules usr/lib/modules-load.d/tintaro.conf
}

DESTDIR=$root cmake --install "$1" --prefix /usr >/dev/null
files | while IFS= read -r f; do [ -f "$root/$f" ] || echo "FAIL: not installed: /$f"; done |
    grep . && failed=1
[ -x "$root/usr/bin/tintaro" ] || fail "the program is not executable"
desktop-file-validate "$root/usr/share/applications/tintaro.desktop" || fail "invalid desktop entry"
for size in 32 128; do
    file "$root/usr/share/icons/hicolor/${size}x${size}/apps/tintaro.png" |
        grep -q "PNG image data, $size x $size," || fail "the ${size}x${size} icon is no such PNG"
done
grep -q '^KERNEL=="uinput".*TAG+="uaccess"' "$root/usr/lib/udev/rules.d/70-tintaro-uinput.rules" ||
    fail "the udev rule does not open /dev/uinput to the seat's user"
grep -qx uinput "$root/usr/lib/modules-load.d/tintaro.conf" || fail "uinput is not loaded at boot"

cpack --config "$1/CPackConfig.cmake" -B "$scratch/package" >"$scratch/log" 2>&1 ||
    { cat "$scratch/log"; exit 1; }
deb=$(ls "$scratch"/package/tintaro_*.deb)
dpkg-deb -c "$deb" >"$scratch/contents"
files | while IFS= read -r f; do grep -qF " ./$f" "$scratch/contents" || echo "FAIL: not packed: /$f"; done |
    grep . && failed=1
depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6widgets6 libevdev2 libxtst6 libc6; do
    echo "$depends" | grep -q "$package" || fail "no dependency on $package: $depends"
done
dpkg-deb -I "$deb" postrm 2>/dev/null | grep -q 'udevadm trigger' ||
    fail "removing the package leaves /dev/uinput open to the seat's user until the next start"

[ $failed -eq 0 ] && echo "installed tree and $(basename "$deb") hold every file"
exit $failed
