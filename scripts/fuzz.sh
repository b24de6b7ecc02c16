#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang (AddressSanitizer and UBSan are part of their
# flags) and runs each from its seed corpus. A crash, a leak, a sanitizer report or a time-out
# fails the run; the input that did it is kept and shown.
#   scripts/fuzz.sh              every target, FUZZ_SECONDS (default 20) each: CI's short run
#   scripts/fuzz.sh --long       every target, FUZZ_SECONDS (default 7200) each; the corpus a
#                                run grows is kept in BUILD_DIR/corpus/NAME/ for the next long
#                                run, and each target's runs and time are printed for
#                                docs/RELIABILITY.md
#   scripts/fuzz.sh [--long] NAME...   only these targets (for example zarvin_descriptor_fuzz)
# The seed corpus of zarvin_NAME_fuzz is fuzz/corpus/NAME/ (underscores or hyphens). It is
# copied first, so what a run finds never changes the repository.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$ROOT/scripts/lib.sh"

ensure_packages cmake ninja-build clang libclang-rt-14-dev

BUILD_DIR=${BUILD_DIR:-$ROOT/build-fuzz}
LONG=0
if [ "${1:-}" = "--long" ]; then
    LONG=1
    shift
fi
if [ $LONG -eq 1 ]; then
    FUZZ_SECONDS=${FUZZ_SECONDS:-7200}
else
    FUZZ_SECONDS=${FUZZ_SECONDS:-20}
fi
# The short run starts from a fixed seed so that the same tree fuzzes the same way each time:
# a finding in it is repeatable, and new ground is the long run's work. FUZZ_SEED overrides (0: a fresh one).
seed_args=()
if [ -n "${FUZZ_SEED:-}" ]; then
    seed_args=(-seed="$FUZZ_SEED")
elif [ $LONG -eq 0 ]; then
    seed_args=(-seed=1)
fi

if [ $# -gt 0 ]; then
    targets=("$@")
else
    mapfile -t targets < <(grep -oE 'zarvin_add_fuzz_target\(zarvin_[a-z0-9_]+_fuzz\b' \
        "$ROOT/fuzz/CMakeLists.txt" | sed 's/zarvin_add_fuzz_target(//')
fi
if [ ${#targets[@]} -eq 0 ]; then
    echo "error: no fuzz targets found in fuzz/CMakeLists.txt" >&2
    exit 1
fi

cmake -S "$ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${CACHE_ARGS[@]}" \
    -DCMAKE_CXX_COMPILER=clang++ -DZARVIN_FUZZ=ON -DZARVIN_GUI=OFF -DZARVIN_TESTS=OFF \
    -DZARVIN_BENCH=OFF -DZARVIN_WERROR=ON >/dev/null
cmake --build "$BUILD_DIR" --target "${targets[@]}"

work=$(mktemp -d "${TMPDIR:-/tmp}/zarvin-fuzz-XXXXXX")
# The targets' own files (TMPDIR for them): the file targets replace files through a flushed
# temporary file, a disk flush each time, so these live in memory when the machine has a memory
# file system. A target ends without removing them; they go with the run.
scratch_base=${TMPDIR:-/tmp}
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
    scratch_base=/dev/shm
fi
scratch=$(mktemp -d "$scratch_base/zarvin-fuzz-files-XXXXXX")
trap 'rm -rf "$work" "$scratch"' EXIT
export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=1:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

failed=()
for target in "${targets[@]}"; do
    name=${target#zarvin_}
    name=${name%_fuzz}
    corpus="$work/$name/corpus"
    if [ $LONG -eq 1 ]; then
        corpus="$BUILD_DIR/corpus/$name"
    fi
    artifacts="$work/$name/artifacts"
    mkdir -p "$corpus" "$artifacts"
    for seeds in "$ROOT/fuzz/corpus/$name" "$ROOT/fuzz/corpus/${name//_/-}"; do
        if [ -d "$seeds" ]; then
            cp -R "$seeds/." "$corpus/"
        fi
    done
    echo "== $target: ${FUZZ_SECONDS}s from $(find "$corpus" -type f | wc -l) seeds"
    if TMPDIR=$scratch "$BUILD_DIR/bin/$target" "$corpus" -max_total_time="$FUZZ_SECONDS" \
        "${seed_args[@]}" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$artifacts/" \
        >"$work/$name/log" 2>&1; then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/$name/log")
        rss=$(sed -n 's/^stat::peak_rss_mb: *//p' "$work/$name/log")
        echo "$target: ${runs:-?} runs in ${FUZZ_SECONDS}s, corpus $(find "$corpus" -type f | wc -l) inputs, peak ${rss:-?} MB, no finding"
    else
        tail -n 60 "$work/$name/log"
        for input in "$artifacts"/*; do
            [ -f "$input" ] || continue
            kept="$BUILD_DIR/findings"
            mkdir -p "$kept"
            cp "$input" "$kept/$target-$(basename "$input")"
            echo "input kept in $kept/$target-$(basename "$input"):"
            od -A x -t x1z -v "$input" | head -n 20 || true
        done
        failed+=("$target")
    fi
done

if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzzing found a fault in: ${failed[*]}" >&2
    exit 1
fi
echo "fuzzing: ${#targets[@]} targets ran ${FUZZ_SECONDS}s each without a finding"
