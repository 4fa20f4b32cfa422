#!/usr/bin/env bash
# Changes the simulated device the program runs on: rotate, reset, battery, cards,
# lines, OS version. Run "scripts/device.sh help" for the list.
#   scripts/device.sh reg KEY [VALUE]   reads the device registry, e.g.
#   scripts/device.sh reg 'HKLM\Software\Microsoft\Windows\CurrentVersion\Internet Settings' ClearTypeText
set -euo pipefail
. "$(dirname "$0")/common.sh"
export WINEPREFIX=${ZR_DEVICE_PREFIX:-$HOME/.zelvo-rudore/device}
[ -f "$WINEPREFIX/device/created" ] || { zr_say "No device yet: run scripts/run.sh first"; exit 1; }

if [ "${1:-}" = reg ]; then
    # The device registry is the prefix's registry: Wine's own reg.exe reads it.
    # Exit code 0 when the key (and value) exists, 1 when not, 2 for bad arguments.
    shift
    if [ $# -lt 1 ] || [ $# -gt 2 ]; then
        zr_say "usage: device.sh reg KEY [VALUE]   KEY starts with HKLM, HKCU, HKCR or HKU"
        exit 2
    fi
    if [ $# -eq 2 ]; then set -- "$1" /v "$2"; fi
    "$WINE" reg query "$@" | tr -d '\r' | sed '/^$/d'
    exit "${PIPESTATUS[0]}"
fi
exec "$WINE" "$WINEPREFIX/drive_c/windows/Zelvo Rudore/devctl.exe" "$@"
