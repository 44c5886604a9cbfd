#!/bin/sh
# Runs every fuzz harness of BUILD_DIR for SECONDS on a copy of its seed
# corpus, two at a time (CI machines have two cores). Fails when a harness
# reports a finding; the input that caused it is kept in
# BUILD_DIR/fuzz-findings.
set -eu
if [ $# -ne 2 ]; then
    echo "usage: $0 BUILD_DIR SECONDS" >&2
    exit 2
fi
build=$(cd "$1" && pwd)
seconds=$2
here=$(cd "$(dirname "$0")" && pwd)
jobs=${TW_FUZZ_JOBS:-2}
# The text loader harness writes its files for every input; memory is faster.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
    export TMPDIR=/dev/shm
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Runs one harness and leaves its verdict in $work/<name>/verdict.
run_harness() {
    name=$1
    corpus=$here/corpus/$name/
    mkdir -p "$work/$name/corpus" "$work/$name/findings"
    cp "$corpus"* "$work/$name/corpus/"
    if "$build/bin/fuzz_$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$work/$name/findings/" "$work/$name/corpus" >"$work/$name/log" 2>&1; then
        echo ok >"$work/$name/verdict"
    else
        echo finding >"$work/$name/verdict"
    fi
}

running=0
for corpus in "$here"/corpus/*/; do
    run_harness "$(basename "$corpus")" &
    running=$((running + 1))
    if [ "$running" -ge "$jobs" ]; then
        wait
        running=0
    fi
done
wait

status=0
for corpus in "$here"/corpus/*/; do
    name=$(basename "$corpus")
    if [ "$(cat "$work/$name/verdict" 2>/dev/null)" = ok ]; then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/$name/log")
        echo "fuzz_$name: ${runs:-?} executions, no finding"
    else
        echo "fuzz_$name: FINDING"
        tail -n 60 "$work/$name/log"
        mkdir -p "$build/fuzz-findings/$name"
        cp "$work/$name/findings/"* "$build/fuzz-findings/$name/" 2>/dev/null || true
        status=1
    fi
done
exit $status
