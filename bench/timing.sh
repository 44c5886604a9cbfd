# Timing helpers for the whole-process comparisons; sourced by
# compare_generate.sh and compare_embed.sh.

# The wall-clock and the processor seconds (user and system) of a command.
# On a busy machine the processor time is the steadier of the two.
seconds() {
    local TIMEFORMAT='%R %U %S' t
    t=$({ time "$@" >/dev/null; } 2>&1)
    echo "$t" | awk '{ printf "%s %.3f\n", $1, $2 + $3 }'
}

# Median of column $1.
median() { awk -v c="$1" '{ print $c }' | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# A line of the table: label, the file of timings, and for a ratio the
# floor's wall and processor medians.
report() {
    local label=$1 file=$2 wall cpu
    wall=$(median 1 <"$file")
    cpu=$(median 2 <"$file")
    if [ -z "${3:-}" ]; then
        printf '  %-40s %7.3f s %7.3f s\n' "$label" "$wall" "$cpu"
    else
        printf '  %-40s %7.3f s %7.3f s   %5.2fx %5.2fx\n' "$label" "$wall" "$cpu" \
            "$(echo "scale=4; $wall / $3" | bc)" "$(echo "scale=4; $cpu / $4" | bc)"
    fi
}
