#!/usr/bin/env bash
# Installs whatever is missing, builds, and runs every test under Wine on a
# private X display, ending with CTest's summary. Arguments go to CTest; the
# long full-size runs (label "full") are left out unless a -L asks for labels.
set -euo pipefail
. "$(dirname "$0")/lib.sh"

EnsurePackages
Build
StartDisplay
trap 'StopPrefixes; StopDisplay' EXIT
PreparePrefix 96
PreparePrefix 144

case " $* " in
  *" -L "*) ;;
  *) set -- -LE full "$@" ;;
esac
cd "$BUILD_DIR"
ctest --output-on-failure -j "$(nproc)" "$@"
