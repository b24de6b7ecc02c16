#!/usr/bin/env bash
# Sets up and starts the configurator's window: against the keyboard when one is attached,
# otherwise against the stand-in keyboard. With arguments it runs zarvinctl with them instead.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$ROOT/scripts/lib.sh"

ensure_packages "${BUILD_PACKAGES[@]}"
BUILD_DIR=${BUILD_DIR:-$ROOT/build}
configure_and_build "$BUILD_DIR" -DZARVIN_TESTS=OFF -DZARVIN_BENCH=OFF

bin="$BUILD_DIR/bin"
if [ $# -gt 0 ]; then
    exec "$bin/zarvinctl" "$@"
fi
if "$bin/zarvinctl" list >/dev/null 2>&1; then
    exec "$bin/zarvin"
fi
echo "(no keyboard attached: the window works on the stand-in keyboard)"
exec "$bin/zarvin" --simulate
