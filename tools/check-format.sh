#!/usr/bin/env bash
# Fails when a tracked C++ file differs from what the project's .clang-format makes of it.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v clang-format >/dev/null || {
    echo "clang-format is missing (tools/install-deps.sh --test installs it)" >&2
    exit 1
}
status=0
while IFS= read -r -d '' file; do
    if ! clang-format --style=file "$file" | cmp -s - "$file"; then
        echo "not formatted: $file"
        status=1
    fi
done < <(git ls-files -z '*.cpp' '*.h')
[ "$status" -eq 0 ] && echo "formatting: every file as .clang-format has it"
exit "$status"
