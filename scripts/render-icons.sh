#!/bin/sh
# Renders the PNG sizes of the application icon from its SVG with headless
# Chromium (installed for the browser checks). Run after changing the SVG.
set -eu
cd "$(dirname "$0")/.."
svg="$(pwd)/desktop/icons/de.vellmark.Treeweaver.svg"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
for size in 16 32 48 64 128 256; do
    printf '<html><body style="margin:0"><img src="file://%s" width="%s" height="%s" style="display:block"></body></html>' \
        "$svg" "$size" "$size" >"$work/icon.html"
    chromium --headless=new --no-sandbox --disable-gpu --hide-scrollbars --default-background-color=00000000 \
        --window-size="$size,$size" --screenshot="$(pwd)/desktop/icons/png/$size.png" "file://$work/icon.html" \
        >/dev/null 2>&1
done
