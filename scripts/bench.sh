#!/usr/bin/env bash
# Builds the benchmarks and runs each on a fresh simulated device under a private Xvfb.
set -euo pipefail
. "$(dirname "$0")/common.sh"

zr_install_packages
zr_build --target all --target bench

zr_fresh_device "${ZR_BENCH_PREFIX:-$ZR_BUILD/bench-device}"

for bench in "$ZR_BUILD"/bin/bench_*.exe; do
    echo "== $(basename "$bench" .exe)"
    "$WINE" "$bench"
done
