#!/usr/bin/env bash
# Sets up, builds and runs the tests.
#   scripts/test.sh                  everything, warnings as errors
#   scripts/test.sh --sanitize       the core tests again under AddressSanitizer and UBSan
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$ROOT/scripts/lib.sh"

ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"

if [ "${1:-}" = "--sanitize" ]; then
    BUILD_DIR=${BUILD_DIR:-$ROOT/build-sanitize}
    configure_and_build "$BUILD_DIR" -DZARVIN_WERROR=ON -DZARVIN_BENCH=OFF -DZARVIN_GUI=OFF \
        -DZARVIN_SANITIZE=address,undefined
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
else
    BUILD_DIR=${BUILD_DIR:-$ROOT/build}
    configure_and_build "$BUILD_DIR" -DZARVIN_WERROR=ON
fi
ctest --test-dir "$BUILD_DIR" --output-on-failure -j2 --timeout 120
