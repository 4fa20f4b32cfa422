#!/usr/bin/env bash
# Builds everything and runs every test on a fresh simulated device under a private Xvfb.
set -euo pipefail
. "$(dirname "$0")/common.sh"

zr_install_packages
zr_build

export WINEPREFIX=${ZR_TEST_PREFIX:-$ZR_BUILD/test-device}
rm -rf "$WINEPREFIX"
unset DISPLAY
zr_start_xvfb
cleanup() { zr_stop_wineserver; zr_stop_xvfb; }
trap cleanup EXIT
zr_create_device
zr_start_wineserver

cd "$ZR_BUILD"
# One at a time: the tests share one virtual desktop, and a rotation turns it for all.
ctest --output-on-failure --timeout 300 -j"${ZR_TEST_JOBS:-1}" "$@"
