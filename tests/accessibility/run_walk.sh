#!/bin/sh
# Starts the program in a virtual display with its own session bus and
# accessibility bus, and walks its accessible tree with walk_layout.py.
# Usage: run_walk.sh <treeweaver program> <walk_layout.py>
set -eu
program=$1
script=$2
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$home/run"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
exec dbus-run-session -- xvfb-run -a -s "-screen 0 1024x768x24" sh -c '
    openbox >/dev/null 2>&1 &
    QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 QT_QPA_PLATFORM=xcb "$0" >"$HOME/program.log" 2>&1 &
    program=$!
    status=0
    /usr/bin/python3 "$1" || status=$?
    kill "$program" 2>/dev/null || true
    [ $status -eq 0 ] || cat "$HOME/program.log"
    exit $status
' "$program" "$script"
