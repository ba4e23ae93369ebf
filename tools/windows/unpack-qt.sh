#!/usr/bin/env bash
# Unpacks Qt for Windows into <build folder>/qt once and prints where it lies. The tarball comes from
# ../shared/qt-windows/ beside the repository (or VARNOLT_QT_WINDOWS_TARBALL); without it, build it from
# Debian's sources with tools/windows/build-qt.sh and point VARNOLT_QT_WINDOWS_TARBALL at the result.
#   tools/windows/unpack-qt.sh <build folder>
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:?usage: unpack-qt.sh <build folder>}
name=qt-6.4.2-mingw-x86_64
tarball=${VARNOLT_QT_WINDOWS_TARBALL:-../shared/qt-windows/$name.tar.xz}
target=$build/qt
if [ ! -f "$target/$name/lib/cmake/Qt6/Qt6Config.cmake" ]; then
    if [ ! -f "$tarball" ]; then
        echo "Qt for Windows is missing: no $tarball (tools/windows/build-qt.sh makes it)" >&2
        exit 1
    fi
    rm -rf "$target"
    mkdir -p "$target"
    tar -xJf "$tarball" -C "$target"
fi
# Qt's offscreen platform on Windows draws only with the fonts in <Qt>/lib/fonts, and the first one there stands
# in for any family it lacks: the sans-serif family the Linux build draws with, and the Tahoma of the program's
# windows, so the pictures drawn at build time and the window tests look alike on both.
fonts=$target/$name/lib/fonts
if [ ! -f "$fonts/tahoma.ttf" ]; then
    mkdir -p "$fonts"
    ln -sf /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf \
        /usr/share/wine/fonts/tahoma.ttf /usr/share/wine/fonts/tahomabd.ttf "$fonts/"
fi
echo "$PWD/$target/$name"
