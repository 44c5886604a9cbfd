#!/bin/sh
# Renders every shipped template set into docs/images/: the three-level test
# menu light and dark, wide and at 360 pixels, and the example project at
# 1280 and 375 pixels, in headless Chromium.
# Usage: scripts/template-gallery.sh [build directory, default build]
# Needs a configured normal build (cmake -S . -B build) and scripts/install-deps.sh.
set -eu
cd "$(dirname "$0")/.."
BUILD="${1:-build}"
cmake --build "$BUILD" --target tw_template_pages
./tests/browser/install.sh "$BUILD/browser-node"
PAGES="$BUILD/gallery-pages"
"$BUILD/bin/tw_template_pages" examples/lindenhof.twf "$PAGES"
mkdir -p docs/images
node scripts/template-gallery.mjs "$PAGES" "$BUILD/browser-node" docs/images
