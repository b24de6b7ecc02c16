#!/usr/bin/env bash
# Sets up, builds and runs the tests.
#   scripts/test.sh                  everything, warnings as errors
#   scripts/test.sh --sanitize       every test again under AddressSanitizer and UBSan, the
#                                    windows' tests included
#   scripts/test.sh --faults         the fault matrix (every fault of the stand-in at every packet
#                                    of a load, an apply, a backup and a restore) with the real
#                                    timing of the keyboard link; the test command runs it quickly
#   scripts/test.sh --tsan           every test again under ThreadSanitizer
#   scripts/test.sh --vm             only the end-to-end test on a real kernel in a virtual
#                                    machine (scripts/vm-test.sh), with zarvinctl and the uhid
#                                    tests built in the same folder as the plain run
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$ROOT/scripts/lib.sh"

ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"

CTEST_ARGS=()
WRAPPER=()
case "${1:-}" in
--sanitize)
    BUILD_DIR=${BUILD_DIR:-$ROOT/build-sanitize}
    # Set before the build: the skin is drawn by a program of the build, sanitized too.
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    configure_and_build "$BUILD_DIR" -DZARVIN_WERROR=ON -DZARVIN_BENCH=OFF \
        -DZARVIN_SANITIZE=address,undefined
    ;;
--tsan)
    BUILD_DIR=${BUILD_DIR:-$ROOT/build-tsan}
    mkdir -p "$BUILD_DIR"
    # ThreadSanitizer needs its own memory layout: on kernels that randomise more address bits
    # than it expects it fails at start. Then everything that runs a program of the build (the
    # skin generator, the lists of tests, ctest) runs without address randomisation.
    probe=$BUILD_DIR/tsan-probe
    echo 'int main() { return 0; }' | c++ -fsanitize=thread -x c++ - -o "$probe"
    if ! "$probe" 2>/dev/null; then
        echo "ThreadSanitizer cannot start here: running without address randomisation" >&2
        WRAPPER=(setarch "$(uname -m)" -R)
        "${WRAPPER[@]}" "$probe"
    fi
    export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:suppressions=$ROOT/tests/sanitizers/tsan.supp
    "${WRAPPER[@]}" cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${CACHE_ARGS[@]}" \
        -DZARVIN_WERROR=ON -DZARVIN_BENCH=OFF -DZARVIN_SANITIZE=thread >/dev/null
    "${WRAPPER[@]}" cmake --build "$BUILD_DIR"
    ;;
--vm)
    BUILD_DIR=${BUILD_DIR:-$ROOT/build}
    cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${CACHE_ARGS[@]}" \
        -DZARVIN_WERROR=ON >/dev/null
    cmake --build "$BUILD_DIR" --target zarvinctl zarvin_access_tests zarvin_udevrulegen
    exec bash "$ROOT/scripts/vm-test.sh" "$BUILD_DIR"
    ;;
--faults)
    BUILD_DIR=${BUILD_DIR:-$ROOT/build}
    configure_and_build "$BUILD_DIR" -DZARVIN_WERROR=ON
    export ZARVIN_FAULT_TIMING=real
    TEST_TIMEOUT=${TEST_TIMEOUT:-3600}
    CTEST_ARGS=(-L '^zarvin_fault_matrix_tests$')
    ;;
"")
    BUILD_DIR=${BUILD_DIR:-$ROOT/build}
    configure_and_build "$BUILD_DIR" -DZARVIN_WERROR=ON
    ;;
*)
    echo "usage: scripts/test.sh [--sanitize | --tsan | --faults | --vm]" >&2
    exit 2
    ;;
esac
"${WRAPPER[@]}" ctest --test-dir "$BUILD_DIR" --output-on-failure -j2 --timeout "${TEST_TIMEOUT:-120}" "${CTEST_ARGS[@]}"
