#!/usr/bin/env bash
# Builds the program, creates the simulated device on first use and runs the program
# on it: in a window the size of the device screen on $DISPLAY, or, with no display,
# on a private Xvfb, saving a screenshot.
set -euo pipefail
. "$(dirname "$0")/common.sh"

zr_install_packages
# Only what runs: the program, the device's libraries it links and the device command.
# Tests and benchmarks are built by scripts/test.sh and scripts/bench.sh.
zr_build --target ZelvoRudore --target devctl

export WINEPREFIX=${ZR_DEVICE_PREFIX:-$HOME/.zelvo-rudore/device}
headless=0
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
    headless=1
    unset DISPLAY
    zr_start_xvfb
fi
cleanup() { zr_stop_wineserver; zr_stop_xvfb; }
trap cleanup EXIT
zr_create_device
zr_install_program
zr_start_wineserver

if [ "$headless" -eq 0 ]; then
    "$WINE" "$ZR_PROGRAM"
    exit 0
fi

shot=${ZR_SCREENSHOT:-$ZR_BUILD/screenshot.png}
"$WINE" "$ZR_PROGRAM" &
sleep "${ZR_SCREENSHOT_DELAY:-4}"
import -window root -display "$DISPLAY" -crop 480x640+0+0 "$shot"
echo "No display: the program ran on Xvfb $DISPLAY; screenshot saved to $shot"
