#!/usr/bin/env bash
# Installs whatever is missing, builds, and runs every test under Wine on a
# private X display, ending with CTest's summary. Arguments go to CTest
# (default: every test but the long full-size runs, labelled "full").
set -euo pipefail
. "$(dirname "$0")/lib.sh"

EnsurePackages
Build
StartDisplay
trap 'StopPrefixes; StopDisplay' EXIT
PreparePrefix 96
PreparePrefix 144

if [ $# -eq 0 ]; then set -- -LE full; fi
cd "$BUILD_DIR"
ctest --output-on-failure -j "$(nproc)" "$@"
