#!/usr/bin/env bash
# Builds the Debian package from this build tree (CPack, as package.sh does) and checks its file
# name, file list and control fields. Arguments: build folder, output folder, version, program folder.
set -euo pipefail
build=$1 out=$2 version=$3 program_dir=$4

fail() { echo "FAIL: $*"; failed=1; }
failed=0

rm -rf "$out"
mkdir -p "$out"
if ! cpack --config "$build/CPackConfig.cmake" -G DEB -B "$out" >"$out/cpack.log" 2>&1; then
    cat "$out/cpack.log"
    exit 1
fi

deb="$out/varnolt_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || { ls "$out"; echo "FAIL: no $deb"; exit 1; }

# File list: the program folder behind a relative link, the catalogue, the desktop files; all root's.
list=$(dpkg-deb -c "$deb")
for entry in \
    "./usr/bin/varnolt -> ../$program_dir/varnolt" \
    "./usr/bin/varnolt-send -> ../$program_dir/varnolt-send" \
    "./usr/$program_dir/varnolt" \
    "./usr/$program_dir/PanelBackGround.exe" \
    "./usr/$program_dir/Instruments_Standard/P@Airspeed.exe" \
    "./usr/$program_dir/Instruments_Standard/P@Airspeed.ini" \
    "./usr/share/applications/com.brondix.Varnolt.desktop" \
    "./usr/share/metainfo/com.brondix.Varnolt.metainfo.xml" \
    "./usr/share/icons/hicolor/scalable/apps/com.brondix.Varnolt.svg" \
    "./usr/share/icons/hicolor/256x256/apps/com.brondix.Varnolt.png" \
    "./usr/share/man/man1/varnolt.1.gz" \
    "./usr/share/man/man1/varnolt-send.1.gz" \
    "./usr/share/varnolt/Scripts/VarnoltExport.lua"; do
    grep -qF -- " $entry" <<<"$list" || fail "missing $entry"
done
awk '{ print $6 }' <<<"$list" | grep -v '^\./usr/' && fail "entries outside /usr"
awk '$2 != "root/root"' <<<"$list" | grep . && fail "entries not owned by root"
grep -E '(_tests|_bench|probe_child|render_icons|\.a|\.h)$' <<<"$list" && fail "build-only files packaged"

# Control fields; a version bound on each library shows dpkg-shlibdeps computed them.
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = varnolt ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
for f in Maintainer Section Description; do
    [ -n "$(field $f)" ] || fail "no $f"
done
depends=$(field Depends)
for lib in libc6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6network6 libqt6dbus6 zlib1g; do
    grep -qE "(^|, )$lib \(>= [^)]+\)" <<<"$depends" || fail "Depends lacks $lib: $depends"
done

# No maintainer scripts: removing the package touches nothing but its own files, never a settings folder.
members=$(dpkg-deb --ctrl-tarfile "$deb" | tar -t | grep -v '/$' | sort | tr '\n' ' ')
[ "$members" = "./control ./md5sums " ] || fail "control archive holds: $members"

[ $failed -eq 0 ] && echo "checked $deb"
exit $failed
