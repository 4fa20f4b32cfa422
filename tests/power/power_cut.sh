#!/usr/bin/env bash
# Cuts the device's power at each named step of a reset's apply, a flush and a backup,
# starts the device again and checks that the registry is wholly the old one or wholly
# the new one, that nothing flushed or finished was lost and that nothing was left
# behind. Also the refusals of a hard reset without a sound factory image, of a device
# setting that cannot be stored, and the creation of a device that already lives.
#
# A power cut is every process of the device killed at once, the registry server
# included: the step's process ends itself there (ZR_POWER_CUT), the rest are killed.
# Runs on a copy of the test device with its own registry server.
#   power_cut.sh BIN_DIR
set -uo pipefail
BIN=$(cd "$1" && pwd)
ZR_BUILD=$(dirname "$BIN")
. "$(dirname "$0")/../../scripts/common.sh"

[ -f "${WINEPREFIX:-}/device/created" ] || { echo "no test device in WINEPREFIX"; exit 1; }
# Beside the test device, so that its files can be linked rather than copied.
WORK=$(mktemp -d "$(dirname "$WINEPREFIX")/power-cut.XXXXXX")
DEV=$WORK/device
SNAP=$WORK/snapshot
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The test device's files are shared by hard links, except what a run rewrites.
cp -al "$WINEPREFIX" "$DEV" 2>/dev/null || { rm -rf "$DEV"; cp -a "$WINEPREFIX" "$DEV"; }
rm -rf "$DEV/device" "$DEV"/*.reg "$DEV/wineserver"
cp -a "$WINEPREFIX/device" "$WINEPREFIX"/*.reg "$DEV/"
for f in "$DEV"/drive_c/windows/*.ini; do [ -f "$f" ] && cp --remove-destination "$f" "$f.copy" && mv "$f.copy" "$f"; done
export WINEPREFIX=$DEV
# A display of its own: the other tests' desktop may be in use beside this one.
unset DISPLAY
zr_start_xvfb || exit 1
trap 'power_off; zr_stop_xvfb; rm -rf "$WORK"' EXIT
unset ZR_DEVICE_DIR ZR_POWER_CUT ZR_POWER_CUT_SAVES
DEVCTL=$BIN/devctl.exe
PROBE=$BIN/power_probe.exe
BACKUP='C:\My Documents\power.reg'
BACKUP_FILE=$DEV/drive_c/My\ Documents/power.reg

# Wine's processes of this device: this script's own children share its setting.
device_pids() {
    local f pid
    for f in $(grep -lzxF "WINEPREFIX=$DEV" /proc/[0-9]*/environ 2>/dev/null); do
        pid=${f#/proc/}
        pid=${pid%/environ}
        case $(readlink "/proc/$pid/exe" 2>/dev/null) in */wine*) echo "$pid" ;; esac
    done
}
power_off() {
    local pids
    pids=$(device_pids)
    [ -n "$pids" ] && kill -9 $pids 2>/dev/null
    local i
    for i in $(seq 1 50); do [ -z "$(device_pids)" ] && return; sleep 0.05; done
}
# Starting the device runs the device command first, as the scripts do.
power_on() {
    "$WINESERVER" -p >/dev/null 2>&1 &
    sleep 0.2
    "$WINE" "$DEVCTL" >/dev/null 2>&1 </dev/null
}
run() { "$WINE" "$@" 2>&1 </dev/null | tr -d '\r'; return "${PIPESTATUS[0]}"; }
fingerprint() { run "$PROBE" fingerprint; }
stray_files() {
    ( cd "$DEV" && ls -1 device | grep -E '\.~|^pending-|^scratch-|journal'
      ls -1 "$DEV" | grep -F '.~'
      ls -1 "$DEV/drive_c/My Documents" | grep -F '.~' ) 2>/dev/null
}
snapshot() { rm -rf "$SNAP"; mkdir -p "$SNAP"; cp -a "$DEV"/*.reg "$DEV/device" "$DEV/drive_c/My Documents" "$SNAP/"; }
from_snapshot() {
    rm -rf "$DEV/device" "$DEV/drive_c/My Documents"
    cp -a "$SNAP"/*.reg "$DEV/"
    cp -a "$SNAP/device" "$SNAP/My Documents" "$DEV/"
    mv "$DEV/My Documents" "$DEV/drive_c/"
}
# A step's process ends itself with 99 where the power goes.
cut_at() {
    local step=$1 saves=$2
    shift 2
    local code
    if [ "$saves" = saves ]; then ZR_POWER_CUT=$step ZR_POWER_CUT_SAVES=1 "$WINE" "$@" >/dev/null 2>&1 </dev/null
    else ZR_POWER_CUT=$step "$WINE" "$@" >/dev/null 2>&1 </dev/null; fi
    code=$?
    power_off
    [ "$code" = 99 ] || fail "$step: the power was not cut there (exit $code)"
}

# ---- The states: the old registry with an image of the new one staged ----
power_on
run "$PROBE" fill new >/dev/null
run "$PROBE" backup "$BACKUP" >/dev/null || fail "backup of the new state"
run "$PROBE" fill old >/dev/null
run "$PROBE" flush >/dev/null
run "$PROBE" restore "$BACKUP" >/dev/null || fail "restore of the new state"
"$WINESERVER" -k; "$WINESERVER" -w
snapshot
cp "$BACKUP_FILE" "$WORK/earlier.reg"

power_on
OLD=$(fingerprint)
run "$DEVCTL" reset soft >/dev/null || fail "a soft reset applying the image"
NEW=$(fingerprint)
run "$DEVCTL" reset hard >/dev/null || fail "a hard reset"
FACTORY=$(fingerprint)
power_off
[ "${OLD% boot=*}" != "${NEW% boot=*}" ] && [ "${NEW% boot=*}" != "${FACTORY% boot=*}" ] || fail "the states are not told apart: $OLD / $NEW / $FACTORY"
echo "old: $OLD"
echo "new: $NEW"
echo "factory: $FACTORY"

# Wholly old or wholly the target, with what the device says to match.
check_after() {
    local what=$1 target=$2 got shown
    power_on
    got=$(fingerprint)
    shown=$(run "$DEVCTL" show)
    local staged=no
    [ -f "$DEV/device/registry-staged.img" ] && staged=yes
    if [ "$got" = "$OLD" ]; then
        [ "$staged" = yes ] || fail "$what: the old registry, but the image is gone"
        grep -qE "Interrupted reset: (none|.*could not be finished)" <<<"$shown" ||
            fail "$what: old registry, but: $(grep Interrupted <<<"$shown")"
    elif [ "$got" = "$target" ]; then
        [ "$target" = "$FACTORY" ] || [ "$staged" = no ] || fail "$what: the new registry, and the image still staged"
        grep -qE "Interrupted reset: (none|.*was finished)" <<<"$shown" ||
            fail "$what: new registry, but: $(grep Interrupted <<<"$shown")"
    else
        fail "$what: neither the old registry nor the one applied: $got"
    fi
    local left
    left=$(stray_files)
    [ -z "$left" ] || fail "$what: left behind: $left"
    power_off
    echo "$what: ${got% boot=*} $(grep -o 'Interrupted reset: [a-z ]*' <<<"$shown" | head -c 60)"
}

# ---- Success means on disk ----
from_snapshot
power_on
run "$DEVCTL" reset soft >/dev/null || fail "soft reset"
power_off
power_on
[ "$(fingerprint)" = "$NEW" ] || fail "a finished soft reset was lost to a power cut: $(fingerprint)"
power_off

# ---- Every step of a soft reset's apply, the server's own save falling there or not ----
for step in apply-journal apply-machine:saves apply-user:saves flush-user-synced:saves apply-committed; do
    from_snapshot
    power_on
    cut_at "${step%:saves}" "$([ "${step#*:}" = saves ] && echo saves)" "$DEVCTL" reset soft
    check_after "soft reset cut at $step" "$NEW"
done
# Cut after the journal, the machine's hive in: the next start finishes the apply.
from_snapshot; power_on
cut_at apply-machine saves "$DEVCTL" reset soft
power_on
[ "$(fingerprint)" = "$NEW" ] || fail "an apply cut off is not finished at the next start"
run "$DEVCTL" show | grep -q "Interrupted reset: a soft reset cut off by a power loss was finished" ||
    fail "devctl show does not say the apply was finished: $(run "$DEVCTL" show | grep Interrupted)"
power_off

# An apply that cannot be finished at the next start is undone from the journal.
from_snapshot
printf 'failure.regapply=29\r\n' >>"$DEV/device/profile.ini"
power_on
cut_at apply-machine saves "$DEVCTL" reset soft
check_after "soft reset cut at apply-machine, its apply failing at the next start" "$NEW"
power_on
[ "$(fingerprint)" = "$OLD" ] || fail "an apply that failed at the next start was not undone"
run "$DEVCTL" show | grep -q "Interrupted reset: a soft reset cut off by a power loss could not be finished" ||
    fail "devctl show does not say the apply was undone: $(run "$DEVCTL" show | grep Interrupted)"
power_off

# ---- A hard reset's ----
for step in apply-machine:saves apply-committed; do
    from_snapshot
    power_on
    cut_at "${step%:saves}" "$([ "${step#*:}" = saves ] && echo saves)" "$DEVCTL" reset hard
    check_after "hard reset cut at $step" "$FACTORY"
done

# ---- A flush: once it returns the value is on disk; cut before, it may be missing ----
from_snapshot; power_on
run "$PROBE" set Flushed 9 >/dev/null || fail "set and flush"
power_off; power_on
[ "$(run "$PROBE" get Flushed)" = 9 ] || fail "a flushed value was lost to a power cut"
power_off
for step in flush-user-saved flush-user-renamed; do
    from_snapshot; power_on
    cut_at "$step" "" "$PROBE" set Flushed 7
    power_on
    got=$(run "$PROBE" get Flushed)
    [ "$got" = missing ] || [ "$got" = 7 ] || fail "flush cut at $step: $got"
    [ "$step" != flush-user-renamed ] || [ "$got" = 7 ] || fail "flush cut after its rename lost the value"
    [ "$(fingerprint)" = "$OLD" ] || fail "flush cut at $step changed the rest of the registry"
    left=$(stray_files)
    [ -z "$left" ] || fail "flush cut at $step left behind: $left"
    power_off
    echo "flush cut at $step: $got"
done

# ---- A backup over an earlier file: that file whole, or the new one; nothing else left ----
for step in scratch-saved image-saved write-temp write-synced write-renamed; do
    from_snapshot; power_on
    cut_at "$step" "" "$PROBE" backup "$BACKUP"
    power_on
    left=$(stray_files)
    [ -z "$left" ] || fail "backup cut at $step left behind: $left"
    if [ "$step" = write-renamed ]; then
        # The new file has the name: a whole image, which a restore takes.
        cmp -s "$BACKUP_FILE" "$WORK/earlier.reg" && fail "backup cut at $step: the earlier file is still there"
        run "$PROBE" restore "$BACKUP" >/dev/null || fail "backup cut at $step: the new file is not a whole image"
        power_off
        echo "backup cut at $step: new file whole"
        continue
    fi
    cmp -s "$BACKUP_FILE" "$WORK/earlier.reg" || fail "backup cut at $step: the earlier file changed"
    power_off
    echo "backup cut at $step: earlier file intact"
done

# ---- Refusals: a hard reset without a sound factory image changes nothing ----
from_snapshot
factory=$DEV/device/registry-factory.img
cp "$factory" "$WORK/factory.img"
power_on
for damage in empty flipped missing; do
    case $damage in
        empty) : >"$factory" ;;
        flipped) cp "$WORK/factory.img" "$factory"
                 printf '\x5a' | dd of="$factory" bs=1 seek=$(( $(stat -c %s "$factory") / 2 )) conv=notrunc 2>/dev/null ;;
        missing) rm -f "$factory" ;;
    esac
    said=$(run "$DEVCTL" reset hard)
    code=$?
    [ "$code" = 1 ] || fail "hard reset with a $damage factory image: exit $code"
    grep -q "factory registry image" <<<"$said" || fail "hard reset with a $damage factory image says: $said"
    [ "$(fingerprint)" = "$OLD" ] || fail "hard reset with a $damage factory image changed the registry"
    [ -f "$DEV/device/registry-staged.img" ] || fail "hard reset with a $damage factory image dropped the staged image"
done
cp "$WORK/factory.img" "$factory"

# A setting the device cannot store is refused and changes nothing.
run "$DEVCTL" battery percent=50 >/dev/null || fail "battery on a writable profile"
chmod a-w "$DEV/device/profile.ini"
said=$(run "$DEVCTL" battery percent=20)
code=$?
[ "$code" = 1 ] && grep -q "could not store" <<<"$said" || fail "battery on a read-only profile: exit $code, $said"
run "$DEVCTL" show | grep -q "percent=50 " || fail "a change that was not stored is shown"
chmod u+w "$DEV/device/profile.ini"
power_off

# ---- Creation never writes over a live device ----
# A value changed from its factory setting must stay changed when the marker is gone.
SETTINGS='HKLM\Software\Microsoft\Windows\CurrentVersion\Internet Settings'
run_create() { ( ZR_BUILD=$ZR_BUILD; zr_create_device ) >"$WORK/create.txt" 2>&1; }
from_snapshot
power_on
run reg add "$SETTINGS" /v Security_RunActiveXControls /t REG_DWORD /d 0 /f >/dev/null
"$WINESERVER" -k; "$WINESERVER" -w
rm -f "$DEV/device/created"
run_create || fail "a live device without its marker was not repaired: $(cat "$WORK/create.txt")"
"$WINESERVER" -w
[ -f "$DEV/device/created" ] || fail "the marker was not put back"
grep -q Repairing "$WORK/create.txt" || fail "creation did not say it repairs: $(cat "$WORK/create.txt")"
power_on
run reg query "$SETTINGS" /v Security_RunActiveXControls | grep -q "0x0$" ||
    fail "creation wrote the factory value over a live device's: $(run reg query "$SETTINGS" /v Security_RunActiveXControls)"
[ "$(fingerprint)" != "$OLD" ] || fail "the changed value is not in the fingerprint"
power_off

[ "$failures" = 0 ] && echo "all power cuts passed" && exit 0
echo "$failures failure(s)"
exit 1
