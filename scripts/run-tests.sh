#!/bin/sh
# Configures, builds and runs every test: a normal build (with benchmarks
# built, not run), a build under AddressSanitizer and UndefinedBehaviorSanitizer,
# and short runs of the fuzz harnesses.
set -eu
cd "$(dirname "$0")/.."

JOBS="$(nproc 2>/dev/null || echo 2)"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# Qt's own libraries keep a few allocations for the whole process.
export LSAN_OPTIONS="suppressions=$(pwd)/scripts/lsan.supp:print_suppressions=0"

echo "== Normal build"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTW_WERROR=ON
cmake --build build -j "$JOBS"
ctest --test-dir build --output-on-failure -j "$JOBS"

# Without Qt WebEngine (Chromium is no use inside a sanitized process), so
# that this build makes and tests the preview that opens in the browser.
echo "== Sanitizer build (AddressSanitizer + UndefinedBehaviorSanitizer)"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTW_SANITIZE=ON -DTW_BUILD_BENCHMARKS=OFF -DTW_WERROR=ON \
    -DTW_WEBENGINE=OFF
cmake --build build-asan -j "$JOBS"
ctest --test-dir build-asan --output-on-failure -j "$JOBS"

if [ -f fuzz/CMakeLists.txt ]; then
    echo "== Fuzzing (short runs)"
    CXX=clang++ CC=clang cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DTW_BUILD_FUZZERS=ON -DTW_BUILD_GUI=OFF -DTW_BUILD_BENCHMARKS=OFF
    cmake --build build-fuzz -j "$JOBS"
    ./fuzz/run-short.sh build-fuzz "${TW_FUZZ_SECONDS:-20}"
fi
echo "== All tests passed"
