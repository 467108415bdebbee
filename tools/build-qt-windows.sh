#!/usr/bin/env bash
# Qt for Windows, built once from Debian's own qt6-base source package (the host's Qt version) with MinGW-w64:
# static, release, the bundled zlib/libpng/FreeType/HarfBuzz/PCRE2, the windows, offscreen and minimal platform
# plugins, and only the modules the window and its tests use. Installed into a cache folder outside the clone,
# keyed by the source version, the compiler and these options; a present cache is reused, a failed build leaves
# none. Prints the cache folder on its last line.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
toolchain="$here/qt-windows/toolchain.cmake"
version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
compiler=$(x86_64-w64-mingw32-g++-posix --version | head -1)
options=(
    -xplatform win32-g++ -qt-host-path /usr -static -static-runtime -release -optimize-size
    -nomake examples -nomake tests -no-pch
    -qt-zlib -qt-libpng -qt-freetype -qt-harfbuzz -qt-pcre -no-libjpeg -no-icu -no-dbus -no-opengl -no-openssl
    -no-feature-tabletevent -no-feature-sql -no-feature-printsupport -no-feature-xml -no-feature-testlib_selfcover
)
key=$(printf '%s\n' "$version" "$compiler" "${options[@]}" | cat - "$toolchain" | sha256sum | cut -c1-12)
cache_root="${QUILLON_QT_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/quillon}"
upstream=${version%%+*}
prefix="$cache_root/qt-$upstream-win64-$key"
if [ -f "$prefix/.complete" ]; then
    echo "$prefix"
    exit 0
fi

echo "== Qt $upstream for Windows: not in $cache_root yet. The first build takes 20 to 40 minutes, once." >&2
work="$cache_root/build-$key"
rm -rf "$work" "$prefix"
mkdir -p "$work" "$prefix"
# Until .complete is there the folder is no cache: a failed or killed build leaves nothing that counts as one.
trap 'rm -rf "$work"; [ -f "$prefix/.complete" ] || rm -rf "$prefix"' EXIT
cd "$work"
echo "== fetching Debian's qt6-base $version source" >&2
apt-get source -qq "qt6-base=$version" >&2
src=$(find "$work" -maxdepth 1 -type d -name 'qt6-base-*' | head -1)
# The toolchain lives in the install: Qt's CMake files chain-load it by this path.
cp "$toolchain" "$prefix/toolchain.cmake"
mkdir build
cd build
echo "== configuring" >&2
"$src/configure" "${options[@]}" -prefix "$prefix" -- \
    -DCMAKE_TOOLCHAIN_FILE="$prefix/toolchain.cmake" -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    > configure.log 2>&1 || { tail -60 configure.log >&2; exit 1; }
tail -5 configure.log >&2
echo "== building" >&2
if ! cmake --build . --parallel "$(nproc)" 2>&1 | tee build.log |
    awk '/^\[[0-9]+\/[0-9]+\]/ && ++n % 200 == 0 { print "   " $1; fflush() }' >&2; then
    grep -E -B2 -A8 'error|FAILED' build.log | head -80 >&2
    exit 1
fi
cmake --install . >/dev/null
touch "$prefix/.complete"
echo "$prefix"
