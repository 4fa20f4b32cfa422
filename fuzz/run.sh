#!/usr/bin/env bash
# Fuzzes the dialog template walk natively with libFuzzer for a number of seconds.
#   bash fuzz/run.sh [seconds]   (default 60)
# The committed seeds in fuzz/corpus stay as they are; what the fuzzer finds goes
# to build/fuzz/corpus, crashes to build/fuzz/. The program's current dialog
# templates are added to the seeds of each run when windres is at hand.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
seconds=${1:-60}
out=${ZR_FUZZ_BUILD:-$root/build/fuzz}

need=""
command -v clang++ >/dev/null 2>&1 || need="$need clang"
command -v llvm-symbolizer >/dev/null 2>&1 || need="$need llvm"
dpkg-query -W -f='${Status}' libclang-rt-14-dev 2>/dev/null | grep -q "ok installed" || need="$need libclang-rt-14-dev"
if [ -n "$need" ]; then
    echo "Installing:$need" >&2
    sudo_cmd=""; [ "$(id -u)" -eq 0 ] || sudo_cmd=sudo
    $sudo_cmd apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends $need >/dev/null
fi

mkdir -p "$out/corpus" "$out/seeds"
clang++ -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -I "$root" "$here/template_walk_fuzz.cpp" "$root/ui/template_walk.cpp" -o "$out/template_walk_fuzz"

# Seeds from the program's and the tests' resource scripts as they are now.
res_files=()
if command -v x86_64-w64-mingw32-windres >/dev/null 2>&1; then
    for rc in "$root/res/rudore.rc" "$root"/tests/*/*.rc; do
        [ -f "$rc" ] || continue
        res="$out/seeds/$(basename "$(dirname "$rc")")_$(basename "$rc" .rc).res"
        if x86_64-w64-mingw32-windres -DUNICODE -D_UNICODE -I "$root/res" -I "$root" -I "$(dirname "$rc")" \
               "$rc" -O res -o "$res" 2>/dev/null; then
            res_files+=("$res")
        fi
    done
fi
python3 "$here/make_corpus.py" "$out/seeds" "${res_files[@]}"

cd "$out"
UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    ./template_walk_fuzz -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 \
    "$out/corpus" "$here/corpus" "$out/seeds"
