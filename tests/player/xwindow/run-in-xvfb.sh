#!/bin/sh
# Runs a command against a private Xvfb server that picks a free display
# number itself (-displayfd), so that parallel test runs never collide, and
# does not reset when its last client leaves (-noreset): tests connect and
# disconnect one after the other.
#
#   run-in-xvfb.sh <program> [arguments...]
set -u

if ! command -v Xvfb >/dev/null 2>&1; then
    echo "run-in-xvfb.sh: Xvfb is not installed (Debian package xvfb)" >&2
    exit 1
fi

display_file=$(mktemp "${TMPDIR:-/tmp}/lvx-player-xvfb.XXXXXX") || exit 1
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$display_file" 2>/dev/null &
server=$!
cleanup() {
    kill "$server" 2>/dev/null
    wait "$server" 2>/dev/null
    rm -f "$display_file"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

tries=0
while ! grep -q '^[0-9][0-9]*$' "$display_file" 2>/dev/null; do
    if ! kill -0 "$server" 2>/dev/null || [ "$tries" -ge 200 ]; then
        echo "run-in-xvfb.sh: Xvfb did not start" >&2
        exit 1
    fi
    tries=$((tries + 1))
    sleep 0.05
done

DISPLAY=":$(head -n 1 "$display_file")"
export DISPLAY
unset WAYLAND_DISPLAY XSCREENSAVER_WINDOW
"$@"
exit $?
