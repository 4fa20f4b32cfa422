#!/usr/bin/env bash
# Runs one command (a test executable with its arguments, say) on the test device that
# scripts/test.sh created, under a private Xvfb: quick reruns while working on a test.
#   bash scripts/with-test-device.sh build/bin/test_app.exe --gtest_filter='MainWindow*'
set -euo pipefail
. "$(dirname "$0")/common.sh"
export WINEPREFIX=${ZR_TEST_PREFIX:-$ZR_BUILD/test-device}
[ -f "$WINEPREFIX/device/created" ] || { zr_say "No test device: run scripts/test.sh first"; exit 1; }
unset DISPLAY
zr_start_xvfb
cleanup() { zr_stop_wineserver; zr_stop_xvfb; }
trap cleanup EXIT
zr_start_wineserver
exe=$1
shift
"$WINE" "$exe" "$@"
