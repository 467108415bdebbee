#!/usr/bin/env bash
# make fuzz: runs each libFuzzer target for a while. New interesting inputs grow build-fuzz/corpus/TARGET; a crash,
# hang or leak leaves its input in build-fuzz/findings/ and stops the run: fix it and keep the input as a
# regression seed in tests/fuzz/seeds/TARGET/, which make test runs through the plain runner.
set -euo pipefail
build=$1
fuzz_build=$2
seconds=$3
shared="$(cd "$(dirname "$0")/.." && pwd)/../shared/replays"
for target in load records templates summary; do
    corpus="$fuzz_build/corpus/$target"
    findings="$fuzz_build/findings/$target/"
    mkdir -p "$corpus" "$findings"
    "$build/bin/fuzz-$target" --write-seeds "$corpus"
    inputs=("$corpus")
    [ -d "tests/fuzz/seeds/$target" ] && inputs+=("tests/fuzz/seeds/$target") # saved findings, once there are any
    if { [ "$target" = load ] || [ "$target" = summary ]; } && [ -d "$shared" ]; then
        inputs+=("$shared")
    fi
    echo "== fuzz-$target for ${seconds}s"
    "$fuzz_build/bin/fuzz-$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=1048576 \
        -artifact_prefix="$findings" -print_final_stats=1 "${inputs[@]}"
done
