#!/usr/bin/env bash
# Makes the README's pictures from the real program on a fresh simulated device under
# a private Xvfb: the main window and the Internet category's first page in each
# screen shape, saved to docs/screens/.
set -euo pipefail
. "$(dirname "$0")/common.sh"

zr_install_packages
zr_build --target ZelvoRudore --target devctl

out=${ZR_SCREENS_DIR:-$ZR_ROOT/docs/screens}
mkdir -p "$out"
zr_fresh_device "${ZR_SCREENS_PREFIX:-$ZR_BUILD/screens-device}"
zr_install_program
settle=${ZR_SCREENS_DELAY:-3}

devctl() { "$WINE" "$ZR_DEVCTL" "$@" >/dev/null; }

# The program's window on the X display, then a moment for it to paint.
wait_for_program() {
    local i
    for i in $(seq 1 300); do
        xwininfo -root -tree 2>/dev/null | grep -q '"Zelvo Rudore"' && break
        sleep 0.1
    done
    sleep "$settle"
}

# shape, screen width and height, a point of the "Internet Tricks" row of its splash
# (the row's client point plus the navigation bar above the window)
while read -r shape width height x y; do
    devctl rotate "$shape"
    "$WINE" "$ZR_PROGRAM" &
    program=$!
    wait_for_program
    import -window root -display "$DISPLAY" -crop "${width}x${height}+0+0" +repage "$out/main-$shape.png"
    devctl tap "$x" "$y"
    sleep "$settle"
    import -window root -display "$DISPLAY" -crop "${width}x${height}+0+0" +repage "$out/internet-$shape.png"
    kill "$program"
    wait "$program" 2>/dev/null || true
    echo "$out/main-$shape.png, $out/internet-$shape.png"
done <<'SHAPES'
portrait 480 640 260 416
landscape 640 480 260 291
square 480 480 240 273
SHAPES
