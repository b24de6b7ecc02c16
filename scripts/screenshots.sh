#!/usr/bin/env bash
# Renders the program's windows with Qt's offscreen platform to PNG files for review:
#   scripts/screenshots.sh [FOLDER]        (default: build/screenshots)
# The real windows over the stand-in keyboard, run in-process:
#   main-assignments.png  lighting switch off: remapped, macro, media and disabled keys selected
#   main-user-mode.png    custom key colours (effect 20): painted keys and the user-mode tools
#   main-animated.png     the wave effect a few preview frames after it was chosen
#   main-flip-status.png  the top row flipped to D1-D6, and the status line after an export
#   about.png             the about box
#   composite-key.png, composite-macro.png, composite-media.png, composite-function.png
#                         the four pages of the composite key editor (its title names the key)
#   profile.png           the profile dialog
# and the same again at 200 % (QT_SCALE_FACTOR=2, the skin's 2x pictures) in scale-200/, in
# the light colour scheme in light/, and in German, Japanese and Simplified Chinese in de/, ja/
# and zh_CN/ (each run starts with fresh settings, so the windows take the language of LANG).
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
offscreen=(env -u LC_ALL -u LC_MESSAGES QT_QPA_PLATFORM=offscreen)
preview=$BUILD_DIR/bin/zarvin_skinpreview
"${offscreen[@]}" LANG=en_US.UTF-8 "$preview" "$FOLDER"
"${offscreen[@]}" LANG=en_US.UTF-8 QT_SCALE_FACTOR=2 "$preview" "$FOLDER/scale-200"
"${offscreen[@]}" LANG=en_US.UTF-8 "$preview" "$FOLDER/light" light
for pair in de:de_DE ja:ja_JP zh_CN:zh_CN; do
    "${offscreen[@]}" LANG="${pair#*:}.UTF-8" "$preview" "$FOLDER/${pair%%:*}"
done
echo "Screenshots in $(cd "$FOLDER" && pwd):"
ls -1 "$FOLDER"/*.png "$FOLDER"/scale-200/*.png "$FOLDER"/light/*.png "$FOLDER"/{de,ja,zh_CN}/*.png
