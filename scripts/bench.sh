#!/usr/bin/env bash
# Builds the benchmarks and runs each on a fresh simulated device under a private Xvfb.
set -euo pipefail
. "$(dirname "$0")/common.sh"

zr_install_packages
zr_build --target all --target bench

export WINEPREFIX=${ZR_BENCH_PREFIX:-$ZR_BUILD/bench-device}
rm -rf "$WINEPREFIX"
unset DISPLAY
zr_start_xvfb
cleanup() { zr_stop_wineserver; zr_stop_xvfb; }
trap cleanup EXIT
zr_create_device
zr_start_wineserver

for bench in "$ZR_BUILD"/bin/bench_*.exe; do
    echo "== $(basename "$bench" .exe)"
    "$WINE" "$bench"
done
