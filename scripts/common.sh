# Shared by the run, test and device scripts: packages, build, display, Wine, device.
# Sourced, not run.

ZR_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
ZR_BUILD=${ZR_BUILD:-$ZR_ROOT/build}
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}

ZR_PACKAGES="cmake make g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
 googletest wine64 fonts-wine xvfb x11-utils imagemagick"

zr_say() { printf '%s\n' "$*" >&2; }

zr_sudo() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Installs whatever Debian package is missing.
zr_install_packages() {
    local missing="" p
    for p in $ZR_PACKAGES; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing="$missing $p"
    done
    [ -z "$missing" ] && return 0
    zr_say "Installing:$missing"
    zr_sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive zr_sudo apt-get install -y -qq --no-install-recommends $missing >/dev/null
}

zr_build() {
    # A configured tree configures itself again when a CMakeLists.txt changes.
    [ -f "$ZR_BUILD/CMakeCache.txt" ] ||
        cmake -S "$ZR_ROOT" -B "$ZR_BUILD" -DCMAKE_TOOLCHAIN_FILE="$ZR_ROOT/cmake/mingw-w64-x86_64.cmake" \
            -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$ZR_BUILD" -j"$(nproc)" "$@"
}

ZR_XVFB_PID=""
# Starts a private Xvfb, 640x640 so that the device's screen shows whole in all three
# shapes. Sets DISPLAY.
zr_start_xvfb() {
    local n=${ZR_XVFB_DISPLAY:-}
    if [ -z "$n" ]; then
        n=90
        while [ -e /tmp/.X$n-lock ] || [ -e /tmp/.X11-unix/X$n ]; do n=$((n + 1)); done
    fi
    Xvfb ":$n" -screen 0 640x640x24 -nolisten tcp >/dev/null 2>&1 &
    ZR_XVFB_PID=$!
    export DISPLAY=":$n"
    # This display has no resource database: Xlib then reads ~/.Xdefaults and
    # ~/.Xdefaults-HOST again at every lookup, and Wine looks up a font setting each time
    # a window selects a font, hundreds of times in a turn of the screen. An empty file in
    # place of the second makes a database, read once; lookups still find nothing.
    export XENVIRONMENT=${XENVIRONMENT:-/dev/null}
    local i
    for i in $(seq 1 50); do
        xdpyinfo >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    zr_say "Xvfb did not start on :$n"
    return 1
}

zr_stop_xvfb() {
    [ -n "$ZR_XVFB_PID" ] && kill "$ZR_XVFB_PID" 2>/dev/null
    ZR_XVFB_PID=""
}

# A persistent wineserver keeps process start-up at a tenth of a second.
# Its helper processes (services, the desktop) are started here, with no terminal:
# started by a test they would hold its output open and keep it from ending.
zr_start_wineserver() {
    "$WINESERVER" -p >/dev/null 2>&1 &
    sleep 0.3
    "$WINE" "$ZR_BUILD/bin/devctl.exe" >/dev/null 2>&1 </dev/null || true
}

zr_stop_wineserver() {
    "$WINESERVER" -k >/dev/null 2>&1 || true
    "$WINESERVER" -w >/dev/null 2>&1 || true
}

# The device's own fonts: Tahoma (regular and bold) for every dialog, Marlett for the
# caption buttons. Wine reads them only from the prefix's Fonts folder; without them a
# dialog takes whatever font the host has and the layouts no longer fit the screen.
ZR_DEVICE_FONTS="tahoma.ttf tahomabd.ttf marlett.ttf"
zr_install_device_fonts() {
    local fonts="$WINEPREFIX/drive_c/windows/Fonts" f
    mkdir -p "$fonts"
    for f in $ZR_DEVICE_FONTS; do
        [ -f "/usr/share/wine/fonts/$f" ] || { zr_say "Missing /usr/share/wine/fonts/$f: install fonts-wine"; return 1; }
        cmp -s "/usr/share/wine/fonts/$f" "$fonts/$f" || cp "/usr/share/wine/fonts/$f" "$fonts/$f" || return 1
    done
}

# Creates the simulated device in $WINEPREFIX when it does not exist yet: a Wine
# prefix whose windows live in one virtual desktop the size of the device screen,
# then the device's fonts, folders, files and factory registry. A device made before
# it carried its fonts gets them here too. Set-up checks that dialogs get the device's
# font and stops if they do not. A prefix that has a registry but lost its marker is
# set up again around it: the device's set-up keeps a registry that is a device's.
zr_create_device() {
    if [ -f "$WINEPREFIX/device/created" ]; then
        zr_install_device_fonts
        return
    fi
    if [ -f "$WINEPREFIX/system.reg" ]; then
        zr_say "Repairing the simulated device in $WINEPREFIX: it has a registry but no \"created\" marker"
    else
        zr_say "Creating the simulated device in $WINEPREFIX"
        mkdir -p "$WINEPREFIX"
        "$WINE" wineboot -i >/dev/null 2>&1
    fi
    "$WINESERVER" -w
    zr_install_device_fonts || return 1
    zr_start_wineserver
    "$WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    "$WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 480x640 /f >/dev/null 2>&1
    mkdir -p "$WINEPREFIX/device"
    "$WINE" "$ZR_BUILD/bin/devctl.exe" init || { zr_say "device set-up failed"; zr_stop_wineserver; return 1; }
    zr_stop_wineserver
    touch "$WINEPREFIX/device/created"
}

# Puts the program and the device's libraries into \Windows\Zelvo Rudore.
zr_install_program() {
    local dir="$WINEPREFIX/drive_c/windows/Zelvo Rudore"
    mkdir -p "$dir"
    cp "$ZR_BUILD/bin/ZelvoRudore.exe" "$ZR_BUILD/bin/coredll.dll" "$ZR_BUILD/bin/aygshell.dll" \
       "$ZR_BUILD/bin/Note_prj.dll" "$ZR_BUILD/bin/devctl.exe" "$dir/"
    ZR_PROGRAM="$dir/ZelvoRudore.exe"
    ZR_DEVCTL="$dir/devctl.exe"
}

# A fresh throw-away device under a private Xvfb with a running wineserver, for the
# test and benchmark commands; everything is stopped when the calling script ends.
zr_fresh_device() {
    export WINEPREFIX=$1
    rm -rf "$WINEPREFIX"
    unset DISPLAY
    zr_start_xvfb
    trap 'zr_stop_wineserver; zr_stop_xvfb' EXIT
    zr_create_device
    zr_start_wineserver
}
