#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need; skips what is there.
set -euo pipefail

packages=(
    cmake g++ ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libqt6dbus6
    libxcb1-dev zlib1g-dev libgtest-dev libgmock-dev libbenchmark-dev
    dbus dbus-daemon fontconfig fonts-wine
    python3
)
# The Debian package: dpkg-shlibdeps computes its library dependencies, CPack finds the programs with file.
packaging=(dpkg-dev file)
if [ "${1:-}" = "--test" ]; then
    # openbox: a real window manager for the De-clutter test, which skips without it.
    packages+=(xvfb xauth openbox lua5.1 lua-socket iproute2 util-linux clang-format)
    # The install tests validate the desktop entry, metainfo and manual page, and build the package.
    packages+=(desktop-file-utils appstream man-db groff-base "${packaging[@]}")
elif [ "${1:-}" = "--package" ]; then
    packages+=("${packaging[@]}")
elif [ "${1:-}" = "--windows" ]; then
    # The Windows cross-build: MinGW-w64 (posix threads), zlib and GoogleTest's sources for it, Wine to run the
    # build steps and the tests (with the fonts Qt's offscreen platform draws in, and a virtual display for the
    # program's own windows), NSIS for the installer, flock and the namespace tools for the runner.
    packages+=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 libz-mingw-w64-dev
        googletest wine wine64 nsis xz-utils util-linux iproute2 fonts-dejavu-core xvfb xauth)
    # tools/windows/build-qt.sh unpacks and patches Debian's Qt sources with them.
    packages+=(dpkg-dev patch)
fi
# libFuzzer comes with clang's runtime libraries; only tools/fuzz.sh needs them.
if [ "${1:-}" = "--fuzz" ]; then
    packages+=(clang libclang-rt-14-dev)
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo_cmd=""
    [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
    $sudo_cmd apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
