#!/usr/bin/env bash
# Runs a command on an X server of its own with a window manager, as on a
# desktop: with title bars, and full screen granted by the manager.
# Usage: with-window-manager.sh WIDTHxHEIGHT COMMAND [ARGUMENTS...]
#
# Xvfb chooses a free display number itself (-displayfd) and says which:
# picking one beforehand, as xvfb-run -a does, races with other servers
# starting at the same moment.
set -euo pipefail
size=$1
shift

work=$(mktemp -d)
cleanup() {
    [ -n "${manager:-}" ] && kill "$manager" 2>/dev/null || true
    [ -n "${server:-}" ] && kill "$server" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp >"$work/server.log" 2>&1 &
server=$!
exec 3>&-
for _ in $(seq 200); do
    [ -s "$work/display" ] && break
    sleep 0.05
done
if [ ! -s "$work/display" ]; then
    echo "with-window-manager: Xvfb did not start" >&2
    cat "$work/server.log" >&2
    exit 1
fi
export DISPLAY=":$(head -n 1 "$work/display")"
unset XAUTHORITY

# Waits up to about ten seconds for test to succeed.
wait_for() {
    for _ in $(seq 200); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.05
    done
    return 1
}
if ! wait_for xprop -root; then
    echo "with-window-manager: Xvfb on $DISPLAY takes no connections" >&2
    cat "$work/server.log" >&2
    exit 1
fi
# The manager is ready once it names itself on the root window; a busy
# machine may need a second start.
managed() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"; }
for attempt in 1 2 3; do
    openbox --sm-disable >>"$work/manager.log" 2>&1 &
    manager=$!
    wait_for managed && break
    kill "$manager" 2>/dev/null || true
    manager=""
done
if [ -z "$manager" ]; then
    echo "with-window-manager: openbox did not start on $DISPLAY" >&2
    cat "$work/manager.log" "$work/server.log" >&2
    exit 1
fi

status=0
"$@" || status=$?
exit "$status"
