#!/usr/bin/env bash
# Checks that the source folders depend one way: each folder includes only the folders listed for it below
# (the README's source-layout section draws the same graph). Prints every include that breaks it.
set -euo pipefail
cd "$(dirname "$0")/../src"

# The application settings and folders records are the ground every folder stands on.
ground='app/AppSettings.h app/Folders.h'

declare -A allowed=(
    [platform]='platform'
    [instruments]="platform $ground"
    [panels]="platform $ground instruments"
    [net]="platform $ground"
    [exchange]="platform $ground instruments panels"
    [run]="platform $ground instruments panels net"
    [app]='platform app instruments panels net exchange run'
)

permitted() { # folder include
    local target
    for target in ${allowed[$1]}; do
        [[ $2 == "$target" || $2 == "$target"/* ]] && return 0
    done
    return 1
}

status=0
for folder in "${!allowed[@]}"; do
    while IFS=: read -r file line include; do
        include=${include#*\"}
        include=${include%\"*}
        if [[ $file == app/AppSettings.* || $file == app/Folders.* ]]; then
            # The ground records themselves stand on the platform only.
            [[ $include != */* || $include == platform/* ]] && continue
        elif [[ $include != */* || $include == "$folder"/* ]] || permitted "$folder" "$include"; then
            continue
        fi
        echo "$file:$line: $include"
        status=1
    done < <(grep -n '^#include "' "$folder"/*.h "$folder"/*.cpp || true)
done

# The dialog seam shows every window without knowing any of them.
if grep -n '^#include "\(panels\|instruments\|run\|net\|exchange\)/' app/QtPrompter.h app/QtPrompter.cpp; then
    status=1
fi
[[ $status -eq 0 ]] || echo "these includes break the folder graph the README's source layout draws" >&2
exit $status
