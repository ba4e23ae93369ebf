#!/bin/sh
# Runs a test program in a network namespace of its own, holding only the loopback interface with the
# multicast range routed onto it: whatever the tests send, and the membership reports of a group join,
# never reach a real interface. Where no namespace can be made (no user namespaces, no `ip`), the program
# runs as it is and VARNOLT_PRIVATE_NET stays unset, so tests that would touch the real network skip.
if [ -z "${VARNOLT_PRIVATE_NET:-}" ] && command -v unshare >/dev/null 2>&1 && command -v ip >/dev/null 2>&1; then
    # Root (CI) needs no user namespace; others may be allowed one.
    flags=""
    if unshare -n true 2>/dev/null; then
        flags=-n
    elif unshare -rn true 2>/dev/null; then
        flags=-rn
    fi
fi
if [ -n "${flags:-}" ]; then
    exec unshare $flags sh -c '
        ip link set lo up multicast on &&
        ip route add 224.0.0.0/4 dev lo &&
        VARNOLT_PRIVATE_NET=1 exec "$@"' sh "$@"
fi
exec "$@"
