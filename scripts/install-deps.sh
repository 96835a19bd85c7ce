#!/usr/bin/env bash
# Installs, with apt-get, the Debian 12 packages that building, running and testing Vistrel need.
# Packages already present are not touched; nothing is downloaded when all are there.
set -euo pipefail

packages=(
    g++ cmake ninja-build pkg-config
    dpkg-dev file
    qt6-base-dev qt6-base-dev-tools libgl-dev
    libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev python3-serial
    clang libclang-rt-14-dev
    libxcb1-dev
    xvfb xauth
    locales
    lintian desktop-file-utils appstream man-db bash-completion
    ser2net
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "Installing ${missing[*]} needs root or sudo." >&2; exit 1; }
    sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
# The tests start ser2net themselves, on 127.0.0.1 only; the system service that the package enables
# would listen with Debian's example configuration, so a copy installed here for the tests stays off.
if [[ " ${missing[*]} " == *" ser2net "* ]] && [ -d /run/systemd/system ]; then
    $sudo systemctl disable --now ser2net.service >/dev/null 2>&1 || true
fi
