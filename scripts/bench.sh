#!/usr/bin/env bash
# Builds the benchmarks and runs each on a fresh simulated device under a private Xvfb.
set -euo pipefail
. "$(dirname "$0")/common.sh"

zr_install_packages
zr_build --target all --target bench

# The device has one processor. On an idle machine with several, every request the
# program makes of the wineserver or of the display would wait for a sleeping core to
# wake (each relayout and rotation then takes four to five times as long, and varies
# from run to run); on one core the figures are the program's own. The display (Xvfb)
# is the device's screen and shares its core too: this script and all it starts stay on
# it. ZR_BENCH_CORES=all measures across all cores for comparison; ZR_BENCH_CPU picks
# the core.
if [ "${ZR_BENCH_CORES:-one}" = one ]; then taskset -cp "${ZR_BENCH_CPU:-0}" $$ >/dev/null; fi

zr_fresh_device "${ZR_BENCH_PREFIX:-$ZR_BUILD/bench-device}"

# Milliseconds depend on the machine and on what else runs on it; each figure's ratio to
# a floor measured in the same run on the same device does much less.
echo "Each line: median of the figure, median of its floor measured alongside it, figure/floor."

for bench in "$ZR_BUILD"/bin/bench_*.exe; do
    echo "== $(basename "$bench" .exe)"
    "$WINE" "$bench"
done
