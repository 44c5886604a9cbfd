#!/bin/bash
# The preview's edit-to-shown time at 210, 33,330 and 100,000 items (the
# pause after a change included), each project in a process of its own.
#
#   bench/preview_latency.sh BUILD_DIR [EDITS]
#
# BUILD_DIR holds bin/bench_preview, bin/make_project and bin/Templates.
# Runs offscreen unless QT_QPA_PLATFORM says otherwise.
set -eu
if [ $# -lt 1 ]; then
    sed -n '2,8p' "$0" >&2
    exit 2
fi
build=$(cd "$1" && pwd)
edits=${2:-9}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
export HOME="$work" XDG_CONFIG_HOME="$work/config"
# 10 + 200; 30 + 300 + 3,000 + 30,000; 100 + 99,900.
for fanouts in 10,20 30,10,10,10 100,999; do
    "$build/bin/make_project" "$fanouts" Aufklappend "Vorschau" 1 "$work/p$fanouts.twb"
    "$build/bin/bench_preview" "$work/p$fanouts.twb" "$edits"
done
