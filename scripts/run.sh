#!/usr/bin/env bash
# Sets up and runs the program: against the keyboard when one is attached and reachable,
# otherwise against the stand-in keyboard.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$ROOT/scripts/lib.sh"

ensure_packages "${BUILD_PACKAGES[@]}"
BUILD_DIR=${BUILD_DIR:-$ROOT/build}
configure_and_build "$BUILD_DIR" -DZARVIN_TESTS=OFF -DZARVIN_BENCH=OFF

zarvinctl="$BUILD_DIR/bin/zarvinctl"
if [ $# -gt 0 ]; then
    exec "$zarvinctl" "$@"
fi
if "$zarvinctl" info 2>/dev/null; then
    exit 0
fi
echo "(no keyboard reachable: showing the stand-in keyboard)"
exec "$zarvinctl" --simulate info
