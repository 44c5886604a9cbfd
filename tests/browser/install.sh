#!/bin/sh
# Installs the npm packages of the browser checks (package-lock.json) into
# the given folder of a build, unless that folder already holds them.
set -eu
here="$(cd "$(dirname "$0")" && pwd)"
target="$1"
mkdir -p "$target"
if [ -f "$target/node_modules/.package-lock.json" ] && cmp -s "$here/package-lock.json" "$target/package-lock.json"; then
    exit 0
fi
cp "$here/package.json" "$here/package-lock.json" "$target/"
cd "$target"
npm ci --no-audit --no-fund --ignore-scripts
