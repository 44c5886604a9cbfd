#!/bin/sh
# Renders the main window's pages with the example project into docs/images/,
# at normal size and at twice the size (files ending in "@2x"), without a
# display; then the gallery of the template sets.
set -eu
cd "$(dirname "$0")/.."

BUILD_DIR="${TW_BUILD_DIR:-build}"
JOBS="$(nproc 2>/dev/null || echo 2)"
if [ ! -f "$BUILD_DIR/CMakeCache.txt" ]; then
    cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$BUILD_DIR" --target tw_screenshots -j "$JOBS"

OUT=docs/images
mkdir -p "$OUT" "$OUT/2x"
export QT_QPA_PLATFORM=offscreen
"$BUILD_DIR/bin/tw_screenshots" examples/lindenhof.twf "$OUT"
QT_SCALE_FACTOR=2 "$BUILD_DIR/bin/tw_screenshots" examples/lindenhof.twf "$OUT/2x"
for picture in "$OUT"/2x/*.png; do
    name="$(basename "$picture" .png)"
    mv "$picture" "$OUT/$name@2x.png"
done
rmdir "$OUT/2x"

# The template sets, each light and dark, wide and narrow.
./scripts/template-gallery.sh "$BUILD_DIR"
