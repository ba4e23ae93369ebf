#!/bin/sh
# Runs a program of the Windows cross-build under Wine: the build's emulator for its build steps and tests.
#   VARNOLT_WINE_PREFIX  the Wine prefix (private to the build tree; made on first use)
#   VARNOLT_WINE_DLL_DIRS  ':'-separated folders where the programs find Qt's and MinGW's DLLs
# Inside a network namespace of its own (tools/private-net.sh) the Wine server is started there too: it makes
# the sockets, so a server left over from outside would bind them outside.
set -eu
: "${VARNOLT_WINE_PREFIX:?the build sets VARNOLT_WINE_PREFIX}"
export WINEPREFIX="$VARNOLT_WINE_PREFIX"
export WINEDEBUG=-all
# The Windows of a Western PC, whatever the host's locale: ANSI code page 1252, as the stored files have it.
export LC_ALL=C.UTF-8
# No offer to download Mono or Gecko while the prefix is made; and no debugger for a program that crashes: it
# would wait for a user, and the test behind it would run into its time limit instead of failing.
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
# Wine sees the host's root as drive Z:.
dll_path=$(printf '%s' "${VARNOLT_WINE_DLL_DIRS:-}" | tr ':/' ';\\' | sed 's/\(^\|;\)\\/\1Z:\\/g')
export WINEPATH="$dll_path${WINEPATH:+;$WINEPATH}"
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)

if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$(dirname "$WINEPREFIX")"
    # Parallel build steps make the prefix once.
    flock "$WINEPREFIX.lock" sh -c '[ -f "$WINEPREFIX/system.reg" ] || "$1" wineboot -i >/dev/null 2>&1; wineserver -w' sh "$wine"
fi

if [ -n "${VARNOLT_PRIVATE_NET:-}" ]; then
    wineserver -k 2>/dev/null || true
    wineserver -w
    # No persistence: it ends with its last program, before the namespace does.
    wineserver -p0
    status=0
    "$wine" "$@" || status=$?
    # Whatever a failed test left running goes with the namespace.
    wineserver -k 2>/dev/null || true
    exit $status
fi
exec "$wine" "$@"
