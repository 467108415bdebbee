#!/usr/bin/env bash
# Installs the Debian packages the build needs, only those that are missing.
set -euo pipefail

packages=(
    cmake ninja-build g++ make pkg-config dpkg-dev file
    zlib1g-dev libdeflate-dev libsqlite3-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    nlohmann-json3-dev libcli11-dev
    qt6-base-dev libgl-dev
    xvfb xauth fonts-wqy-microhei fonts-dejavu-core
    libglib2.0-bin util-linux
    chromium-headless-shell
)

# make fuzz needs clang with libFuzzer as well.
if [ "${1:-}" = "--fuzz" ]; then
    packages+=(clang)
fi
# The Windows build: MinGW-w64 (POSIX threads) with its zlib, GoogleTest's sources, Wine to run it all, npm for
# the SQLite sources, and zip for the package. nlohmann-json and CLI11 (headers only) come from the host.
if [ "${1:-}" = "--windows" ]; then
    packages+=(g++-mingw-w64-x86-64-posix libz-mingw-w64-dev googletest wine wine64 zip unzip)
    # Qt for Windows is built from Debian's qt6-base sources with the host's own tools; NSIS makes the installer.
    packages+=(qt6-base-dev-tools dpkg-dev xz-utils nsis)
    # Arial's metrics for the window under Wine, which has no Arial of its own.
    packages+=(fonts-liberation2)
    # The machine's Node.js usually brings npm; Debian's npm only where none is there.
    command -v npm >/dev/null || packages+=(npm)
fi

# Debian's source packages (for Qt for Windows): an entry like the binary archive's, signed by the same key.
need_update=0
if [ "${1:-}" = "--windows" ] && ! grep -rqsE "^(deb-src|Types:.*deb-src)" /etc/apt/sources.list /etc/apt/sources.list.d/; then
    . /etc/os-release
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    printf 'Types: deb-src\nURIs: http://deb.debian.org/debian\nSuites: %s %s-updates\nComponents: main\nSigned-By: %s\n' \
        "$VERSION_CODENAME" "$VERSION_CODENAME" /usr/share/keyrings/debian-archive-keyring.gpg |
        $sudo tee /etc/apt/sources.list.d/quillon-deb-src.sources >/dev/null
    need_update=1
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
if [ ${#missing[@]} -eq 0 ]; then
    [ "$need_update" -eq 1 ] && { [ "$(id -u)" -ne 0 ] && sudo apt-get update -qq || apt-get update -qq; }
    exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
