#!/usr/bin/env bash
# Builds Qt 6.4.2 for 64-bit Windows (MinGW-w64, shared, Release) from Debian 12's own qt6-base source package,
# the same version as the host Qt whose moc, rcc and uic the cross-build uses, and packs it as the tarball the
# Windows build unpacks (tools/windows/unpack-qt.sh). About an hour on two cores.
#   tools/windows/build-qt.sh <work folder> [--source-only]
# The work folder receives the source, the build, the installed tree and qt-6.4.2-mingw-x86_64.tar.xz. With
# --source-only it stops once the source is unpacked and patched. No apt configuration of the machine is
# changed: the source entry lives in a private list inside the work folder.
set -euo pipefail
repo=$(cd "$(dirname "$0")/../.." && pwd)
work=${1:?usage: build-qt.sh <work folder> [--source-only]}
version=6.4.2
debian_version=6.4.2+dfsg-10
name=qt-$version-mingw-x86_64

# The cross compilers, the host Qt of the same version and dpkg-source to unpack the source package.
"$repo/tools/install-deps.sh" --windows

mkdir -p "$work"
work=$(cd "$work" && pwd)

# Debian's source package, through a private apt list that holds one deb-src entry.
apt_dir=$work/apt
mkdir -p "$apt_dir/lists/partial"
cat >"$apt_dir/sources.list" <<SOURCES
deb-src http://deb.debian.org/debian bookworm main
SOURCES
apt_options=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o "Dir::Etc::SourceParts=/dev/null"
    -o "Dir::State::Lists=$apt_dir/lists" -o "APT::Get::List-Cleanup=0")
source_dir=$work/qtbase-everywhere-src-$version
if [ ! -d "$source_dir" ]; then
    apt-get "${apt_options[@]}" update
    (cd "$work" && apt-get "${apt_options[@]}" source --download-only "qt6-base=$debian_version")
    # Unpacked with Debian's own patches applied, as apt-get source does; then ours: the Windows platform
    # plugin does not build without OpenGL.
    (cd "$work" && dpkg-source -x "qt6-base_$debian_version.dsc" "$source_dir.tmp")
    patch -d "$source_dir.tmp" -p1 <"$repo/tools/windows/qt-no-opengl.patch"
    mv "$source_dir.tmp" "$source_dir"
fi
[ "${2:-}" = "--source-only" ] && { echo "source ready in $source_dir"; exit 0; }

build_dir=$work/build
prefix=$work/$name
mkdir -p "$build_dir"
# The Debian source leaves out the Wacom wintab.h header, hence no tablet events.
cmake -G Ninja -S "$source_dir" -B "$build_dir" -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/toolchain-mingw64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DBUILD_SHARED_LIBS=ON \
    -DFEATURE_sql=OFF -DFEATURE_opengl=OFF -DFEATURE_vulkan=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF \
    -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_icu=OFF -DFEATURE_openssl=OFF -DFEATURE_schannel=ON \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_jpeg=OFF \
    -DFEATURE_system_freetype=OFF -DFEATURE_system_doubleconversion=OFF -DFEATURE_tabletevent=OFF
nice -n 10 cmake --build "$build_dir" -j "${JOBS:-2}"
rm -rf "$prefix"
cmake --install "$build_dir"
rm -rf "$prefix/doc"
tar -C "$work" -cJf "$work/$name.tar.xz" "$name"
echo "$work/$name.tar.xz: VARNOLT_QT_WINDOWS_TARBALL=$work/$name.tar.xz ./package-windows.sh uses it"
