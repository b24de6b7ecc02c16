#!/usr/bin/env bash
# Builds the .deb: an optimised build installed under /usr, packed by CPack with the library
# dependencies dpkg-shlibdeps finds.
#   scripts/package.sh            the package in build-deb/ (BUILD_DIR overrides the folder)
#   scripts/package.sh --no-gui   zarvinctl, its data and the udev rule only, without Qt
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$ROOT/scripts/lib.sh"

BUILD_DIR=${BUILD_DIR:-$ROOT/build-deb}
GUI=ON
case "${1:-}" in
--no-gui) GUI=OFF ;;
"") ;;
*) echo "usage: scripts/package.sh [--no-gui]" >&2; exit 2 ;;
esac

ensure_packages "${BUILD_PACKAGES[@]}" dpkg-dev file

# Only what the package holds is built: install does not build everything first.
cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON -DZARVIN_GUI=$GUI -DZARVIN_TESTS=OFF \
    -DZARVIN_BENCH=OFF >/dev/null
targets=(zarvinctl zarvin_user_mode_template zarvin_man_pages)
if [ "$GUI" = ON ]; then
    targets+=(zarvin_skin_files zarvin_icons)
    if ninja -C "$BUILD_DIR" -t query zarvin >/dev/null 2>&1; then
        targets+=(zarvin)
    else
        echo "warning: the window program 'zarvin' is not part of this tree; packing without it" >&2
    fi
fi
cmake --build "$BUILD_DIR" --target "${targets[@]}"
(cd "$BUILD_DIR" && cpack -G DEB)
ls -1 "$BUILD_DIR"/*.deb
