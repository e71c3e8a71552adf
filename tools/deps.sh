#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need (`deps.sh fuzz`: those the fuzz
# target needs), when running as root; otherwise names the one apt-get line to run.
set -eu

packages=(cmake make g++ pkg-config qt6-base-dev libx11-dev libxtst-dev libxcb1-dev libevdev-dev
          libdbus-1-dev dbus dbus-daemon
          clang-format xvfb x11-xkb-utils fonts-liberation
          dpkg-dev file desktop-file-utils lintian appstream)  # packaging and its test
[ "${1:-}" = fuzz ] && packages=(cmake make clang libclang-rt-dev)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
else
    echo "Missing packages. Install them with:" >&2
    echo "  sudo apt-get install ${missing[*]}" >&2
    exit 1
fi
