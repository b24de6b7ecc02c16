#!/usr/bin/env bash
# Renders each skinned window with Qt's offscreen platform to PNG files for review:
#   scripts/screenshots.sh [FOLDER]        (default: build/screenshots)
# The main window with a lighting effect and with per-key colours, the four pages of the
# composite key editor, and the profile dialog.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$ROOT/scripts/lib.sh"

ensure_packages "${BUILD_PACKAGES[@]}"
BUILD_DIR=${BUILD_DIR:-$ROOT/build}
FOLDER=${1:-$BUILD_DIR/screenshots}

# A build folder made here needs no test packages; an existing one keeps its own options.
if [ -f "$BUILD_DIR/CMakeCache.txt" ]; then
    cmake -S "$ROOT" -B "$BUILD_DIR" >/dev/null
else
    cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DZARVIN_TESTS=OFF -DZARVIN_BENCH=OFF >/dev/null
fi
cmake --build "$BUILD_DIR" --target zarvin_skinpreview

mkdir -p "$FOLDER"
QT_QPA_PLATFORM=offscreen "$BUILD_DIR/bin/zarvin_skinpreview" "$FOLDER"
echo "Screenshots in $(cd "$FOLDER" && pwd):"
ls -1 "$FOLDER"/*.png
