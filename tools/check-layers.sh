#!/usr/bin/env bash
# The core's folders include each other in one direction only: prints each folder's includes and fails on a loop.
set -euo pipefail
core="$(cd "$(dirname "$0")/../src/core" && pwd)"
edges="$(
    for file in $(find "$core" -name '*.cpp' -o -name '*.h'); do
        from="$(realpath --relative-to="$core" "$file" | cut -d/ -f1)"
        sed -n 's|^#include "core/\([a-z]*\)/.*|\1|p' "$file" | while read -r to; do
            [ "$to" = "$from" ] || echo "$from $to"
        done
    done | sort -u
)"
if ! loop="$(tsort <<<"$edges" 2>&1 >/dev/null)" || [ -n "$loop" ]; then
    echo "check-layers: the core's folders include each other in a loop:" >&2
    echo "$loop" >&2
    echo "$edges" >&2
    exit 1
fi
echo "check-layers: $(wc -l <<<"$edges") folder includes, no loop"
