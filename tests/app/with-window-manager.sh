#!/usr/bin/env bash
# Runs a command on an X server of its own with a window manager, as on a
# desktop: with title bars, and full screen granted by the manager.
# Usage: with-window-manager.sh WIDTHxHEIGHT COMMAND [ARGUMENTS...]
set -euo pipefail
size=$1
shift
exec xvfb-run -a -s "-screen 0 ${size}x24" bash -c '
    openbox --sm-disable >/dev/null 2>&1 &
    manager=$!
    # The manager is ready once it names itself on the root window.
    ready=""
    for _ in $(seq 400); do
        if xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id"; then
            ready=yes
            break
        fi
        sleep 0.05
    done
    if [ -z "$ready" ]; then
        echo "with-window-manager: openbox did not start" >&2
        exit 1
    fi
    status=0
    "$@" || status=$?
    kill "$manager" 2>/dev/null || true
    exit "$status"
' with-window-manager "$@"
