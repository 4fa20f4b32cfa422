#!/usr/bin/env bash
# Changes the simulated device the program runs on: rotate, reset, battery, cards,
# lines, OS version. Run "scripts/device.sh help" for the list.
set -euo pipefail
. "$(dirname "$0")/common.sh"
export WINEPREFIX=${ZR_DEVICE_PREFIX:-$HOME/.zelvo-rudore/device}
[ -f "$WINEPREFIX/device/created" ] || { zr_say "No device yet: run scripts/run.sh first"; exit 1; }
exec "$WINE" "$WINEPREFIX/drive_c/windows/Zelvo Rudore/devctl.exe" "$@"
