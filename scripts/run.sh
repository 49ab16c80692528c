#!/usr/bin/env bash
# The main job: installs what is needed, builds the editor, the player, the
# command-line tool and the demo scene (Release), and shows the demo.
#
# - With a display ($DISPLAY or $WAYLAND_DISPLAY): the editor Pelavor opens
#   the demo scene (on a Wayland desktop through XWayland).
# - Without one: the demo is packed into a stand-alone screensaver, a few of
#   its frames are rendered to PNG files off screen, and the packed file is
#   run by itself to prove that it plays; the script says where the files are.
#
#   scripts/run.sh
#   LVX_RUN_BUILD_DIR=/somewhere scripts/run.sh
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
BUILD=${LVX_RUN_BUILD_DIR:-$ROOT/build-run}
JOBS=${LVX_JOBS:-2}

scripts/setup.sh

echo "== configure and build (Release)"
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DLVX_BUILD_TESTS=OFF -DLVX_BUILD_BENCH=OFF >/dev/null
cmake --build "$BUILD" -j "$JOBS" --target ScreenSaver lumivexis lvx_media_demo Pelavor lvx_media_help

BIN=$BUILD/bin
DEMO=$BIN/media/demo/demo.bgs
echo "== the demo scene: $DEMO"
"$BIN/lumivexis" info "$DEMO" | sed -n '1,3p'

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  echo "== opening the demo in the editor Pelavor (File > Exit ends it)"
  exec "$BIN/Pelavor" "$DEMO"
fi

OUT=$BUILD/demo-output
mkdir -p "$OUT"
echo "== no display: rendering frames of the demo off screen"
for t in 0 5 10 15; do
  "$BIN/lumivexis" render "$DEMO" --time "$t" --out "$OUT/demo-${t}s.png"
done
echo "== packing the demo into a stand-alone screensaver and running it by itself"
"$BIN/lumivexis" pack "$DEMO" "$OUT/lumivexis-demo.scr" --screensaver --resolution 1 --title "Lumivexis demo"
"$OUT/lumivexis-demo.scr" --frames 30 --screenshot "$OUT/packed-demo-frame30.png"

echo
echo "Done. The demo's frames are PNG files in $OUT:"
ls -1 "$OUT"/*.png | sed 's/^/  /'
echo "The packed screensaver is $OUT/lumivexis-demo.scr (run it on a desktop, or"
echo "see the README for xscreensaver)."
