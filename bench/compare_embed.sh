#!/bin/bash
# Whole-process timings of treeweaver-cli embed against the floor of reading
# every page and writing the same bytes back with a plain C program, on
# tmpfs: a site of 10,000 pages of 20 KB, each with a head and a menu block,
# and a menu of 1,010 items in three levels (10, 10, 9) in "Seitenleiste".
# "first run" writes the menu into every page of a fresh copy of the site;
# "second run" finds every page up to date and writes nothing. Medians of
# interleaved runs.
#
#   bench/compare_embed.sh BUILD_DIR [RUNS]
#
# BUILD_DIR holds bin/treeweaver-cli, bin/make_project and bin/Templates.
# Set TMPFS_DIR to measure elsewhere than in /dev/shm.
set -eu
if [ $# -lt 1 ]; then
    sed -n '2,13p' "$0" >&2
    exit 2
fi
build=$(cd "$1" && pwd)
runs=${2:-5}
here=$(cd "$(dirname "$0")" && pwd)
cli="$build/bin/treeweaver-cli"
templates="$build/bin/Templates"

work=$(mktemp -d "${TMPFS_DIR:-/dev/shm}/tw-embed-XXXXXX")
trap '[ -n "${KEEP_WORK:-}" ] || rm -rf "$work"' EXIT
cc -O2 -o "$work/rewrite_pages" "$here/rewrite_pages.c"
"$build/bin/make_project" 10,10,9 Seitenleiste "Men$(printf '\xfc')" 1 "$work/menu.twb"

# The items link to seiten/p<N>.html; the other pages lie in 90 folders
# below seiten/ that no item names.
mkdir -p "$work/pristine"
python3 - "$work/pristine" <<'PY'
import os, sys
root = sys.argv[1]
filler = ("<p>Lorem ipsum dolor sit amet, consectetur adipisici elit, sed eiusmod tempor incidunt ut labore "
          "et dolore magna aliqua. Gr\u00fc\u00dfe aus dem Garten.</p>\n")
def page(path, title):
    head = ("<!DOCTYPE html>\n<html lang=\"de\">\n<head>\n<meta charset=\"utf-8\">\n<title>%s</title>\n"
            "<!-- treeweaver:head --><!-- /treeweaver:head -->\n</head>\n<body>\n"
            "<!-- treeweaver:menu --><!-- /treeweaver:menu -->\n<main>\n" % title)
    tail = "</main>\n</body>\n</html>\n"
    body = head.encode()
    line = filler.encode()
    while len(body) + len(line) + len(tail) <= 20 * 1024:
        body += line
    body += tail.encode()
    body += b" " * (20 * 1024 - len(body))
    full = os.path.join(root, path)
    os.makedirs(os.path.dirname(full), exist_ok=True)
    with open(full, "wb") as f:
        f.write(body)
count = 0
for n in range(1, 1112):
    page("seiten/p%d.html" % n, "Seite %d" % n)
    count += 1
folder = 0
while count < 10000:
    page("seiten/ordner%d/seite%d.html" % (folder % 90, count), "Seite %d" % count)
    count += 1
    folder += 1
PY
find "$work/pristine" -type f | sed "s|^$work/pristine|$work/site|" >"$work/list"
pages=$(wc -l <"$work/list")
bytes=$(cat $(find "$work/pristine" -type f) | wc -c)

. "$here/timing.sh"
embed() { XDG_STATE_HOME="$work/state" "$cli" embed "$work/menu.twb" "$work/site" --templates "$templates"; }

: >"$work/floor.t"
: >"$work/first.t"
: >"$work/second.t"
for ((i = 0; i < runs; i++)); do
    rm -rf "$work/site" "$work/state"
    cp -r "$work/pristine" "$work/site"
    seconds "$work/rewrite_pages" "$work/list" >>"$work/floor.t"
    seconds embed >>"$work/first.t"
    seconds embed >>"$work/second.t"
done
if ! embed; then
    echo "embed failed" >&2
    exit 1
fi
echo "tmpfs: $pages pages, $bytes bytes, medians of $runs interleaved runs"
echo "                                              wall     processor  ratio to the floor"
report "floor (C: read, write back)" "$work/floor.t"
report "embed, first run (every page)" "$work/first.t" "$(median 1 <"$work/floor.t")" "$(median 2 <"$work/floor.t")"
report "embed, second run (nothing changed)" "$work/second.t" "$(median 1 <"$work/floor.t")" "$(median 2 <"$work/floor.t")"
