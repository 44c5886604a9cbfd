#!/bin/bash
# Whole-process timings of treeweaver-cli generate against the floor of
# writing the same file names and bytes with a plain C program (open with
# truncate, write, close), on tmpfs and on disk, with the output folder
# already there. Runs are interleaved; the medians are reported.
#
#   bench/compare_generate.sh BUILD_DIR [RUNS] [FANOUTS]
#
# BUILD_DIR holds bin/treeweaver-cli, bin/make_project and bin/Templates.
# FANOUTS defaults to 30,10,10,10: 33,330 items and, with "Aufklappend",
# 3,331 files. One file of all items is measured as well, with "Komplett"
# and ONE_FILE_FANOUTS (default 10,10,10,99: 100,110 items). Set TMPFS_DIR
# and DISK_DIR to measure elsewhere than in /dev/shm and /var/tmp.
set -eu
if [ $# -lt 1 ]; then
    sed -n '2,13p' "$0" >&2
    exit 2
fi
build=$(cd "$1" && pwd)
runs=${2:-7}
fanouts=${3:-30,10,10,10}
oneFileFanouts=${ONE_FILE_FANOUTS:-10,10,10,99}
here=$(cd "$(dirname "$0")" && pwd)
cli="$build/bin/treeweaver-cli"
templates="$build/bin/Templates"

work=$(mktemp -d)
places=("${TMPFS_DIR:-/dev/shm}" "${DISK_DIR:-/var/tmp}")
scratch=()
cleanup() { rm -rf "$work" "${scratch[@]}"; }
trap cleanup EXIT

cc -O2 -o "$work/write_files" "$here/write_files.c"

# The wall-clock and the processor seconds (user and system) of a command.
# On a busy machine the processor time is the steadier of the two.
seconds() {
    local TIMEFORMAT='%R %U %S' t
    t=$({ time "$@" >/dev/null; } 2>&1)
    echo "$t" | awk '{ printf "%s %.3f\n", $1, $2 + $3 }'
}

# Median of column $1.
median() { awk -v c="$1" '{ print $c }' | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

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

generate() { "$cli" generate "$1" --templates "$templates" --output "$2/menu.html"; }

for shape in "Aufklappend $fanouts" "Komplett $oneFileFanouts"; do
    set -- $shape
    # Two projects whose files all differ (by the title in every header), so
    # that alternating between them rewrites every file.
    "$build/bin/make_project" "$2" "$1" "Men$(printf '\xfc') A" 1 "$work/a.twb"
    "$build/bin/make_project" "$2" "$1" "Men$(printf '\xfc') B" 1 "$work/b.twb"
    for place in "${places[@]}"; do
        dir=$(mktemp -d "$place/tw-compare-XXXXXX")
        scratch+=("$dir")
        mkdir "$dir/floor" "$dir/changing" "$dir/same"
        generate "$work/a.twb" "$dir/same"
        generate "$work/b.twb" "$dir/changing"
        "$work/write_files" pack "$dir/same" "$work/pack"
        "$work/write_files" write "$work/pack" "$dir/floor"
        files=$(ls "$dir/same" | wc -l)
        bytes=$(cat "$dir/same"/* | wc -c)
        : >"$work/floor.t"
        : >"$work/changed.t"
        : >"$work/unchanged.t"
        for ((i = 0; i < runs; i++)); do
            sync
            seconds "$work/write_files" write "$work/pack" "$dir/floor" >>"$work/floor.t"
            project="$work/a.twb"
            [ $((i % 2)) -eq 0 ] && project="$work/b.twb"
            # Every file of the folder holds the other project's bytes.
            [ "$i" -eq 0 ] && project="$work/a.twb"
            seconds generate "$project" "$dir/changing" >>"$work/changed.t"
            seconds generate "$work/a.twb" "$dir/same" >>"$work/unchanged.t"
        done
        echo "$1 $2, $place: $files files, $bytes bytes, medians of $runs interleaved runs"
        echo "                                              wall     processor  ratio to the floor"
        report "floor (C: open/truncate, write, close)" "$work/floor.t"
        report "generate, every file changed" "$work/changed.t" "$(median 1 <"$work/floor.t")" "$(median 2 <"$work/floor.t")"
        report "generate, every file unchanged" "$work/unchanged.t" "$(median 1 <"$work/floor.t")" "$(median 2 <"$work/floor.t")"
        rm -rf "$dir"
    done
done
