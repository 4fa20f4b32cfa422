#!/usr/bin/env bash
# The program must build for the device by swapping only platform/, so it may import
# only what the device's libraries export. Reads the built program's import table and
# fails, naming each one, on an import that is neither on the device's lists in this
# folder nor on host.exports. Given the program's own objects as well, it also checks
# what they take from the desktop toolchain's static libraries, which no import shows.
# Usage: check_imports.sh OBJDUMP PROGRAM [OBJECT-OR-ARCHIVE...] (lists split at ';')
set -euo pipefail
export LC_ALL=C
here=$(cd "$(dirname "$0")" && pwd)
objdump=$1
program=$2
nm=${objdump%objdump}nm

# The entries of a list, without comments and blank lines.
entries() { sed -e 's/#.*//' "$@" | awk 'NF { print }'; }

declare -A named ordinal
for name in $(entries "$here/coredll.exports" "$here/commctrl.exports" "$here/host.exports"); do
    named[$name]=1
done
while read -r number name; do ordinal[aygshell.dll#$number]=$name; done < <(entries "$here/aygshell.exports")
while read -r number name; do ordinal[note_prj.dll#$number]=$name; done < <(entries "$here/note_prj.exports")

# One line per import: the library, then its name or #ordinal (objdump shows it in hex).
imports=$("$objdump" -p "$program" | awk '
    /^\tDLL Name: / { dll = tolower($3); next }
    /^$/ || /^ / { dll = "" }
    dll != "" && /^\t[0-9a-f]+\t/ {
        if ($NF == "<none>") print dll, "#" $2; else print dll, $NF
    }')
[ -n "$imports" ] || { echo "no import table read from $program"; exit 1; }

count=0 refused=0
while read -r dll what; do
    count=$((count + 1))
    case "$dll" in
    aygshell.dll | note_prj.dll)
        # These two are imported by ordinal only.
        [[ $what == \#* ]] && what=#$((16#${what#\#}))
        [ -n "${ordinal[$dll$what]:-}" ] && continue
        echo "not exported by the device: $what from $dll, which is imported by ordinal only" ;;
    *)
        [[ $what != \#* && -n ${named[$what]:-} ]] && continue
        echo "not exported by the device: $what (imported from $dll)" ;;
    esac
    refused=$((refused + 1))
done <<< "$imports"

# Functions the program's own objects use but do not define: imports (their thunks)
# and whatever the static libraries bring.
objects=()
for arg in "${@:3}"; do IFS=';' read -ra parts <<< "$arg"; objects+=("${parts[@]}"); done
if [ ${#objects[@]} -gt 0 ]; then
    needed=$(comm -23 <("$nm" -u "${objects[@]}" | awk '$1 == "U" && $2 !~ /^__imp_/ { print $2 }' | sort -u) \
                      <("$nm" --defined-only "${objects[@]}" | awk 'NF == 3 { print $3 }' | sort -u))
    for name in $needed; do
        count=$((count + 1))
        [ -n "${named[$name]:-}" ] && continue
        echo "not exported by the device: $name (linked in from the desktop toolchain)"
        refused=$((refused + 1))
    done
fi

echo "$count functions checked, $refused not on the device's lists"
[ "$refused" -eq 0 ]
