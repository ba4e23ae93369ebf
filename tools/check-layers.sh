#!/usr/bin/env bash
# Checks that the source folders depend one way: each folder includes only itself and the folders listed for
# it below (the README's source-layout section draws the same graph). Prints every include that breaks it.
set -euo pipefail
cd "$(dirname "$0")/../src"

declare -A allowed=(
    [platform]=''
    [settings]='platform'
    [instruments]='platform settings'
    [panels]='platform settings instruments'
    [layout]='platform settings instruments panels'
    [net]='platform settings'
    [exchange]='platform settings instruments panels'
    [run]='platform settings instruments panels net'
    [send]='platform settings'
    [app]='platform settings instruments panels layout net exchange run'
)

include_pattern='^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]([^>"]+)[>"]'

permitted() { # file include
    local file=$1 include=$2 folder=${1%%/*} target
    if [[ $include != */* ]]; then
        # A bare name is a file of the includer's own folder (or a system header, which is no folder of ours).
        [[ -e $folder/$include ]] || return 0
        include=$folder/$include
    fi
    [[ -e $include ]] || return 0 # <net/if.h>, <QtCore/...>: not ours
    [[ $include == "$folder"/* ]] && return 0
    for target in ${allowed[$folder]}; do
        [[ $include == "$target" || $include == "$target"/* ]] && return 0
    done
    return 1
}

status=0
for dir in */; do
    folder=${dir%/}
    if [[ -z ${allowed[$folder]+set} ]]; then
        echo "$folder/: a folder the graph does not place"
        status=1
        continue
    fi
    while IFS= read -r -d '' file; do
        number=0
        while IFS= read -r line; do
            number=$((number + 1))
            [[ $line =~ $include_pattern ]] || continue
            if ! permitted "$file" "${BASH_REMATCH[1]}"; then
                echo "$file:$number: ${BASH_REMATCH[1]}"
                status=1
            fi
        done <"$file"
    done < <(find "$folder" -type f \( -name '*.h' -o -name '*.hpp' -o -name '*.cpp' -o -name '*.cc' \) -print0)
done

# The dialog seam shows every window without knowing any of them.
for file in app/QtPrompter.h app/QtPrompter.cpp; do
    if grep -En '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](panels|instruments|layout|run|net|exchange)/' "$file"; then
        status=1
    fi
done

[[ $status -eq 0 ]] || echo "these includes break the folder graph the README's source layout draws" >&2
exit $status
