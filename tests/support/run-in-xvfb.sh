#!/bin/sh
# Runs a command against a private Xvfb server. The server picks a free
# display number itself (-displayfd), so any number of these may start at
# the same time (parallel ctest), unlike xvfb-run -a, which can race. It does
# not reset when its last client leaves (-noreset): tests connect and
# disconnect one after the other.
#
#   run-in-xvfb.sh <program> [arguments...]
set -u

if ! command -v Xvfb >/dev/null 2>&1; then
    echo "run-in-xvfb.sh: Xvfb is not installed (Debian package xvfb)" >&2
    exit 1
fi

display_file=$(mktemp "${TMPDIR:-/tmp}/lvx-xvfb.XXXXXX") || exit 1
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$display_file" 2>/dev/null &
server=$!
cleanup() {
    kill "$server" 2>/dev/null
    wait "$server" 2>/dev/null
    rm -f "$display_file"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# The server writes its display number once it accepts connections.
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
# Fail loudly rather than fall back to SDL's offscreen driver.
SDL_VIDEODRIVER=x11
export SDL_VIDEODRIVER
"$@"
status=$?
exit "$status"
