#!/usr/bin/env bash
# Breaks the program on purpose, one fault at a time, and tells which faults the tests
# catch. The faults are listed in scripts/mutants.list (its head says how).
#   bash scripts/mutants.sh              every fault of the list
#   bash scripts/mutants.sh ID...        only those faults
#   bash scripts/mutants.sh --check      only check that every fault's text is found once
# For each fault: the text is replaced, the test programs are rebuilt, and the test
# executables run whole one after another on the test device (those of the fault's area
# first), then the check of docs/tricks.md against the tables (make_tricks), up to the
# first that fails: the fault is caught. Then the source is put back.
# The source is put back however the run ends (Ctrl-C included). Before the faults the
# unchanged suite runs once (skip with --no-baseline): a suite that fails without a fault
# would catch every one. Settings: ZR_MUTANTS_LIST (another list), ZR_MUTANT_TIMEOUT
# (seconds one executable may take, 120), ZR_XVFB_DISPLAY (the Xvfb's display number).
set -euo pipefail
. "$(dirname "$0")/common.sh"

LIST=${ZR_MUTANTS_LIST:-$ZR_ROOT/scripts/mutants.list}
TIMEOUT=${ZR_MUTANT_TIMEOUT:-120}
LOGS=$ZR_BUILD/mutants
# What the tests start besides themselves: the program, the device's libraries, devctl.
SUPPORT_TARGETS="ZelvoRudore devctl coredll aygshell note_prj"

baseline=1
check_only=0
wanted=()
for arg in "$@"; do
    case $arg in
    --no-baseline) baseline=0 ;;
    --check) check_only=1 ;;
    -h | --help) sed -n '2,14p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    -*) zr_say "unknown option $arg"; exit 2 ;;
    *) wanted+=("$arg") ;;
    esac
done

# ---- The list: records of "key: value" lines, a blank line between records ----

ids=() files=() areas=() finds=() withs=() whats=()
read_list() {
    local line key value n=-1 open=0
    while IFS= read -r line || [ -n "$line" ]; do
        case $line in
        '#'*) continue ;;
        '') open=0; continue ;;
        esac
        key=${line%%:*}
        value=${line#*: }
        [ "$value" = "$line" ] && value=""   # "key:" with nothing after it
        if [ $open = 0 ]; then
            n=$((n + 1)); open=1
            ids[n]="" files[n]="" areas[n]="" finds[n]="" withs[n]="" whats[n]=""
        fi
        case $key in
        id) ids[n]=$value ;;
        file) files[n]=$value ;;
        area) areas[n]=$value ;;
        find) finds[n]=$value ;;
        with) withs[n]=$value ;;
        what) whats[n]=$value ;;
        *) zr_say "$LIST: unknown key \"$key\" in record $((n + 1))"; exit 2 ;;
        esac
    done <"$LIST"
}

count_in() { FIND=$2 perl -0777 -ne '$n = () = /\Q$ENV{FIND}\E/g; print $n' "$1"; }

# Every record whole, every id once, every text found exactly once in its file.
check_list() {
    local i bad=0 n seen=" "
    for i in "${!ids[@]}"; do
        local id=${ids[i]:-record $((i + 1))}
        if [ -z "${ids[i]}" ] || [ -z "${files[i]}" ] || [ -z "${finds[i]}" ] || [ -z "${whats[i]}" ]; then
            zr_say "$id: needs id, file, find and what"; bad=1; continue
        fi
        case $seen in *" ${ids[i]} "*) zr_say "$id: the id is given twice"; bad=1 ;; esac
        seen="$seen${ids[i]} "
        if [ ! -f "$ZR_ROOT/${files[i]}" ]; then zr_say "$id: no file ${files[i]}"; bad=1; continue; fi
        if [ "${finds[i]}" = "${withs[i]}" ]; then zr_say "$id: the replacement is the text itself"; bad=1; fi
        n=$(count_in "$ZR_ROOT/${files[i]}" "${finds[i]}")
        if [ "$n" != 1 ]; then zr_say "$id: the text occurs $n times in ${files[i]}: ${finds[i]}"; bad=1; fi
    done
    return $bad
}

read_list
if ! check_list; then zr_say "Fix the list first: every fault's text must occur exactly once in its file."; exit 1; fi
zr_say "${#ids[@]} faults listed, every text found once."
[ $check_only = 1 ] && exit 0

selected=()
if [ ${#wanted[@]} -eq 0 ]; then
    selected=("${!ids[@]}")
else
    for w in "${wanted[@]}"; do
        found=""
        for i in "${!ids[@]}"; do [ "${ids[i]}" = "$w" ] && found=$i; done
        [ -n "$found" ] || { zr_say "no fault $w in the list"; exit 2; }
        selected+=("$found")
    done
fi

# ---- Putting the source back, whatever happens ----

WORK=$(mktemp -d)
applied=""   # the file that holds a fault now, relative to the root
restore() {
    if [ -n "$applied" ]; then
        # Written over, not moved back: the file is newer than what was built from the fault.
        cat "$WORK/original" >"$ZR_ROOT/$applied"
        applied=""
    fi
}
cleanup() {
    restore
    zr_stop_wineserver
    zr_stop_xvfb
    rm -rf "$WORK"
}
trap cleanup EXIT
trap 'zr_say "Interrupted: the source is put back."; exit 130' INT TERM

apply_fault() {
    local i=$1
    cp "$ZR_ROOT/${files[i]}" "$WORK/original"
    applied=${files[i]}
    FIND=${finds[i]} WITH=${withs[i]} perl -0777 -i -pe 's/\Q$ENV{FIND}\E/$ENV{WITH}/' "$ZR_ROOT/${files[i]}"
}

# ---- The test executables: one per folder of tests/, as the build makes them ----

exes=()
for dir in "$ZR_ROOT"/tests/*/; do
    area=$(basename "$dir")
    # As tests/CMakeLists.txt: support and data are no suites; power is a script (PowerLoss).
    [ "$area" = support ] || [ "$area" = data ] || [ "$area" = power ] && continue
    ls "$dir"*.cpp >/dev/null 2>&1 && exes+=("test_$area")
done
# The suite's other test: the reference of every trick against the program's tables.
exes+=(make_tricks)

build() {
    cmake --build "$ZR_BUILD" -j2 --target "$@" $SUPPORT_TARGETS >"$WORK/build.log" 2>&1
}

declare -A seconds_of
# Runs one executable whole. Prints pass, fail or timeout. A run that fails without a
# failed test and without its time running out (Wine now and then ends a process before
# it starts) runs once more, as CTest does.
run_exe() {
    local exe=$1 log=$2 rc try
    for try in 1 2; do
        rc=0
        local args=()
        [ "$exe" = make_tricks ] && args=(--check "Z:$ZR_ROOT/docs/tricks.md")
        (cd "$ZR_BUILD/tests" && timeout -k 10 "$TIMEOUT" "$WINE" "$ZR_BUILD/bin/$exe.exe" "${args[@]}") >"$log" 2>&1 || rc=$?
        if [ $rc = 0 ]; then echo pass; return; fi
        if [ $rc = 124 ] || [ $rc = 137 ]; then
            # What it left running goes with the server.
            zr_stop_wineserver
            zr_start_wineserver
            echo timeout
            return
        fi
        grep -q '^\[  FAILED  \]' "$log" && break
    done
    echo fail
}

first_failed_test() {
    grep -m1 '^\[  FAILED  \]' "$1" 2>/dev/null | sed 's/^\[  FAILED  \] *//; s/ (.*//' || true
}

# ---- The device ----

export WINEPREFIX=${ZR_TEST_PREFIX:-$ZR_BUILD/test-device}
[ -f "$ZR_BUILD/CMakeCache.txt" ] || { zr_say "No build: run scripts/test.sh first"; exit 1; }
mkdir -p "$LOGS"
started=$(date +%s)
zr_say "Building the test programs"
build "${exes[@]}" || { cat "$WORK/build.log" >&2; zr_say "The unchanged source does not build."; exit 1; }
unset DISPLAY
zr_start_xvfb
zr_create_device
zr_start_wineserver

if [ $baseline = 1 ]; then
    zr_say "Running the unchanged suite"
    broken=0
    for exe in "${exes[@]}"; do
        t0=$(date +%s)
        result=$(run_exe "$exe" "$LOGS/baseline.$exe.log")
        seconds_of[$exe]=$(($(date +%s) - t0))
        zr_say "  $exe: $result (${seconds_of[$exe]} s)"
        [ "$result" = pass ] || broken=1
    done
    if [ $broken = 1 ]; then zr_say "The suite fails without any fault (logs in $LOGS): fix it first."; exit 1; fi
    # The rest run quickest first: a fault is found sooner on average.
    mapfile -t exes < <(for exe in "${exes[@]}"; do echo "${seconds_of[$exe]} $exe"; done | sort -n | cut -d' ' -f2)
fi

# ---- The faults ----

declare -A result_of by_of test_of time_of
for i in "${selected[@]}"; do
    id=${ids[i]}
    t0=$(date +%s)
    zr_say "[$id] ${whats[i]}"
    apply_fault "$i"
    order=()
    for exe in ${areas[i]}; do
        for known in "${exes[@]}"; do [ "$known" = "$exe" ] && order+=("$exe"); done
    done
    for exe in "${exes[@]}"; do
        case " ${order[*]:-} " in *" $exe "*) ;; *) order+=("$exe") ;; esac
    done
    result_of[$id]=missed by_of[$id]="" test_of[$id]=""
    # The area's executables are built one at a time, each just before it runs; the rest
    # together, so that their links run side by side.
    first=0
    for exe in ${areas[i]}; do case " ${exes[*]} " in *" $exe "*) first=$((first + 1)) ;; esac; done
    [ "$first" -lt 1 ] && first=1
    for n in "${!order[@]}"; do
        exe=${order[n]}
        targets=$exe
        [ "$n" = "$first" ] && targets="${order[*]:$first}"
        if [ "$n" -le "$first" ] && ! build $targets; then
            cp "$WORK/build.log" "$LOGS/$id.build.log"
            result_of[$id]=error test_of[$id]="does not build: $LOGS/$id.build.log"
            break
        fi
        result=$(run_exe "$exe" "$LOGS/$id.$exe.log")
        zr_say "  $exe: $result"
        if [ "$result" != pass ]; then
            result_of[$id]=caught by_of[$id]=$exe
            test_of[$id]=$(first_failed_test "$LOGS/$id.$exe.log")
            [ "$result" = timeout ] && test_of[$id]="(time ran out)"
            break
        fi
        rm -f "$LOGS/$id.$exe.log"
    done
    restore
    time_of[$id]=$(($(date +%s) - t0))
done

# ---- The table ----

caught=0 missed=0 errors=0
{
    printf '%-28s %-7s %-22s %5s  %s\n' fault result "caught by" secs "first failed test"
    for i in "${selected[@]}"; do
        id=${ids[i]}
        printf '%-28s %-7s %-22s %5s  %s\n' "$id" "${result_of[$id]}" "${by_of[$id]:--}" "${time_of[$id]}" "${test_of[$id]}"
        case ${result_of[$id]} in caught) caught=$((caught + 1)) ;; missed) missed=$((missed + 1)) ;; *) errors=$((errors + 1)) ;; esac
    done
    echo
    echo "Caught $caught of ${#selected[@]} faults; missed $missed; errors of the list $errors."
    for i in "${selected[@]}"; do
        [ "${result_of[${ids[i]}]}" = missed ] && echo "  missed: ${ids[i]} (${files[i]}): ${whats[i]}"
    done
    elapsed=$(($(date +%s) - started))
    echo "Run time: $((elapsed / 60)) min $((elapsed % 60)) s"
} | tee "$LOGS/results.txt"
