#!/usr/bin/env bash
# Installs whatever is missing, builds, and starts Varnhold Benchmark under Wine.
# Without a display of your own it runs on a private X display and tells you
# how to look at it.
set -euo pipefail
. "$(dirname "$0")/lib.sh"

EnsurePackages
Build
if [ -z "${DISPLAY:-}" ]; then
  StartDisplay
  say "no display of yours: running on Xvfb $DISPLAY; to see it:"
  say "  xwd -display $DISPLAY -root -silent | convert xwd:- shot.png"
fi
trap 'StopPrefixes; StopDisplay' EXIT
PreparePrefix 96
WINEPREFIX="$WINE_DIR/prefix-96" "$WINE" "$BUILD_DIR/Varnhold.exe"
