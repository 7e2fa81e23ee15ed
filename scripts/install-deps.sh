#!/usr/bin/env bash
# Installs the Debian packages the game (with "test", its tests; with
# "package", its Debian package) needs.
# Only packages that are missing are installed; without root it prints the
# exact command instead and fails.
set -euo pipefail

packages=(g++ cmake make pkg-config ccache libsdl2-dev libgl-dev libopenal-dev
          libmeshoptimizer-dev libstb-dev libcli11-dev libgl1-mesa-dri)
if [ "${1:-}" = "test" ] || [ "${1:-}" = "package" ]; then
    packages+=(dpkg-dev)
fi
if [ "${1:-}" = "test" ]; then
    packages+=(libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth xdotool imagemagick x11-utils libx11-dev openbox
              clang libclang-rt-14-dev desktop-file-utils appstream man-db util-linux)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages: ${missing[*]}" >&2
    echo "Install them with: sudo apt-get install -y ${missing[*]}" >&2
    exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
