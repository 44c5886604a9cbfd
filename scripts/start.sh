#!/bin/sh
# Builds both programs (with the template sets beside them) and starts the
# desktop program; arguments go to it, e.g. a project file to open.
set -eu
cd "$(dirname "$0")/.."

BUILD_DIR="${TW_BUILD_DIR:-build}"
JOBS="$(nproc 2>/dev/null || echo 2)"

if [ ! -f "$BUILD_DIR/CMakeCache.txt" ]; then
    cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
else
    # An existing build directory may have been set up without the window.
    cmake -S . -B "$BUILD_DIR" -DTW_BUILD_GUI=ON > /dev/null
fi
cmake --build "$BUILD_DIR" --target treeweaver treeweaver-cli -j "$JOBS"

PROGRAM="$BUILD_DIR/bin/treeweaver"
case "$(uname -s)" in
Linux | *BSD)
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
        echo "Treeweaver is built, but there is no display to show its window on (DISPLAY and WAYLAND_DISPLAY are empty)."
        echo "Start it on a virtual display instead:  xvfb-run -a -s \"-screen 0 1280x800x24\" $PROGRAM"
        exit 1
    fi
    ;;
esac
exec "$PROGRAM" "$@"
