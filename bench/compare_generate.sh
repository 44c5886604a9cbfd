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
# 3,331 files. Set TMPFS_DIR and DISK_DIR to measure elsewhere than in
# /dev/shm and /var/tmp.
set -eu
if [ $# -lt 1 ]; then
    sed -n '2,13p' "$0" >&2
    exit 2
fi
build=$(cd "$1" && pwd)
runs=${2:-7}
fanouts=${3:-30,10,10,10}
here=$(cd "$(dirname "$0")" && pwd)
cli="$build/bin/treeweaver-cli"
templates="$build/bin/Templates"

work=$(mktemp -d)
places=("${TMPFS_DIR:-/dev/shm}" "${DISK_DIR:-/var/tmp}")
scratch=()
cleanup() { rm -rf "$work" "${scratch[@]}"; }
trap cleanup EXIT

cc -O2 -o "$work/write_files" "$here/write_files.c"
# Two projects whose files all differ (by the title in every header), so
# that alternating between them rewrites every file.
"$build/bin/make_project" "$fanouts" Aufklappend "Men$(printf '\xfc') A" 1 "$work/a.twb"
"$build/bin/make_project" "$fanouts" Aufklappend "Men$(printf '\xfc') B" 1 "$work/b.twb"

. "$here/timing.sh"

generate() { "$cli" generate "$1" --templates "$templates" --output "$2/menu.html"; }

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
    echo "$place: $files files, $bytes bytes, medians of $runs interleaved runs"
    echo "                                              wall     processor  ratio to the floor"
    report "floor (C: open/truncate, write, close)" "$work/floor.t"
    report "generate, every file changed" "$work/changed.t" "$(median 1 <"$work/floor.t")" "$(median 2 <"$work/floor.t")"
    report "generate, every file unchanged" "$work/unchanged.t" "$(median 1 <"$work/floor.t")" "$(median 2 <"$work/floor.t")"
    rm -rf "$dir"
done
