#!/usr/bin/env bash
# Makes the pictures of docs/screens/ from the real program on a fresh simulated device
# under a private Xvfb: every page and dialog in portrait, and the main window, the
# Internet host and the Save dialog in every screen shape. make_screens names them and
# takes the program to each, starting from its main window.
set -euo pipefail
. "$(dirname "$0")/common.sh"

zr_install_packages
zr_build --target ZelvoRudore --target devctl --target make_screens

out=${ZR_SCREENS_DIR:-$ZR_ROOT/docs/screens}
mkdir -p "$out"
zr_fresh_device "${ZR_SCREENS_PREFIX:-$ZR_BUILD/screens-device}"
zr_install_program
# Beside the device command, which it taps with.
driver="$(dirname "$ZR_PROGRAM")/make_screens.exe"
cp "$ZR_BUILD/bin/make_screens.exe" "$driver"
settle=${ZR_SCREENS_DELAY:-2}

# The program's window on the X display.
wait_for_program() {
    local i
    for i in $(seq 1 300); do
        xwininfo -root -tree 2>/dev/null | grep -q '"Zelvo Rudore"' && return 0
        sleep 0.1
    done
    zr_say "the program did not start"
    return 1
}

"$WINE" "$driver" list | tr -d '\r' | while read -r name shapes; do
    for shape in $shapes; do
        # "Screen: square, 480x480": the size to cut from the display.
        size=$("$WINE" "$ZR_DEVCTL" rotate "$shape" | tr -d '\r' | sed -n 's/.*, \([0-9]*x[0-9]*\)$/\1/p')
        "$WINE" "$ZR_PROGRAM" &
        program=$!
        wait_for_program
        sleep 1
        if ! "$WINE" "$driver" show "$name" >/dev/null; then
            kill "$program"
            exit 1
        fi
        sleep "$settle"
        import -window root -display "$DISPLAY" -crop "$size+0+0" +repage -strip "$out/$name-$shape.png"
        kill "$program"
        wait "$program" 2>/dev/null || true
        echo "$out/$name-$shape.png"
    done
done
