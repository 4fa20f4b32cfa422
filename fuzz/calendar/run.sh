#!/usr/bin/env bash
# Builds the calendar file's reader and writer natively with libFuzzer, AddressSanitizer
# and UndefinedBehaviorSanitizer, and fuzzes them from the seed corpus.
# Extra arguments go to the fuzzer; the default is a run of 60 seconds.
#   bash fuzz/calendar/run.sh                  # fuzz for a minute
#   bash fuzz/calendar/run.sh -runs=0          # replay the corpus only
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
out=${ZR_FUZZ_BUILD:-$root/build/fuzz}

sudo_if_needed() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }
need=""
command -v clang++ >/dev/null 2>&1 || need="$need clang"
dpkg-query -W -f='${Status}' libclang-rt-14-dev 2>/dev/null | grep -q "ok installed" || need="$need libclang-rt-14-dev"
if [ -n "$need" ]; then
    echo "Installing:$need" >&2
    sudo_if_needed apt-get update -qq
    DEBIAN_FRONTEND=noninteractive sudo_if_needed apt-get install -y -qq --no-install-recommends $need >/dev/null
fi

mkdir -p "$out/corpus"
clang++ -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
    -I"$root" "$here/calendar_fuzz.cpp" "$root/calendar/calendar_file.cpp" -o "$out/calendar_fuzz"

# New inputs go to the build folder; the seeds in the source tree stay as they are.
args=("$@")
[ ${#args[@]} -eq 0 ] && args=(-max_total_time=60)
cd "$out"
exec ./calendar_fuzz -max_len=4096 "${args[@]}" "$out/corpus" "$here/corpus"
