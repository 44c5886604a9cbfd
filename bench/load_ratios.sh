#!/bin/sh
# The load goals as ratios measured in one run of bench_projectfiles: the
# binary project of 100,000 items (and of 200,000 for the linearity), CPU
# times as medians of the repetitions. The std::string floor is the least a
# loader that keeps its texts in std::string has to build from the same file.
#   bench/load_ratios.sh [build directory] [repetitions]
set -eu
BUILD="${1:-build}"
REPS="${2:-5}"
"$BUILD/bin/bench_projectfiles" --benchmark_filter='BM_(Load|Show|RawRead|StdStringTreeFloor)/format:1/' \
    --benchmark_repetitions="$REPS" --benchmark_report_aggregates_only=true --benchmark_format=csv 2>/dev/null |
    awk -F, '
    /^name,/ { for (i = 1; i <= NF; i++) column[$i] = i; next }
    /_median"?,/ {
        name = $1; gsub(/"/, "", name); sub(/_median$/, "", name)
        cpu[name] = $column["cpu_time"]; peak[name] = $column["\"peak_heap_MB\""]
        if ("\"file_MB\"" in column && $column["\"file_MB\""] != "") file[name] = $column["\"file_MB\""]
    }
    END {
        load = "BM_Load/format:1/items:100000"; show = "BM_Show/format:1/items:100000"
        raw = "BM_RawRead/format:1/items:100000"
        load2 = "BM_Load/format:1/items:200000"; show2 = "BM_Show/format:1/items:200000"
        raw2 = "BM_RawRead/format:1/items:200000"
        floor = "BM_StdStringTreeFloor/format:1/items:100000"; floor2 = "BM_StdStringTreeFloor/format:1/items:200000"
        printf "load %.2f ms, reading the bytes %.3f ms, show %.2f ms (CPU, median of '"$REPS"')\n", cpu[load], cpu[raw], cpu[show]
        printf "load / reading the bytes        %6.1fx  (goal 5x)\n", cpu[load] / cpu[raw]
        printf "load / std::string floor        %6.2fx  (floor %.2f ms, %.1fx reading the bytes)\n", cpu[load] / cpu[floor], cpu[floor], cpu[floor] / cpu[raw]
        printf "load peak heap / file size      %6.1fx  (goal 8x; %.1f MB of %.1f MB)\n", peak[load] / file[load], peak[load], file[load]
        printf "show / load, time               %6.2fx  (goal 3x)\n", cpu[show] / cpu[load]
        printf "show / load, peak heap          %6.2fx  (goal 2x)\n", peak[show] / peak[load]
        printf "200,000 / 100,000 items: load %.2fx, show %.2fx, reading the bytes %.2fx  (goal at most 2x)\n",
            cpu[load2] / cpu[load], cpu[show2] / cpu[show], cpu[raw2] / cpu[raw]
        printf "200,000 / 100,000 items: std::string floor %.2fx\n", cpu[floor2] / cpu[floor]
    }'
