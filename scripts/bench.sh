#!/usr/bin/env bash
# Measures the performance figures of docs/PERFORMANCE.md in one run and prints each as a ratio
# or share:
#   - the window process's CPU while the preview animates (wave effect, lighting switch on) and
#     idle (switch off), as a share of one core: its threads' run time from /proc over a fixed
#     interval, window under Xvfb on the stand-in keyboard; the X server's share beside it;
#   - start to window shown, against a bare Qt dialog (bench/BareDialog.cpp) started the same way;
#   - resident memory with the window shown;
#   - the link, from zarvin_bench over the stand-in keyboard holding each reply 1 ms: a
#     connection's load, a backup's reads and an apply of a full macro area, each over the
#     least time its reports and the fixed pauses allow; and the calling thread's CPU per
#     exchange over a bare two-thread socketpair ping-pong taken in the same run, alone and
#     in one batch (one node lock for many exchanges).
# Each window figure is taken RUNS times (min / median / max). The machine's other work moves
# the figures: run it on a quiet machine, or compare figures taken in the same run.
#   scripts/bench.sh [RUNS]        (BENCH_INTERVAL=seconds per CPU share, default 10)
# BENCH_BIN=folder measures the programs already built there (a copy of an older build's bin/
# folder, to compare old and new one run after the other) instead of building.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$ROOT/scripts/lib.sh"

ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}" xvfb x11-utils xdotool
if [ -n "${BENCH_BIN:-}" ]; then
    BIN=$(cd "$BENCH_BIN" && pwd)
else
    BUILD_DIR=${BUILD_DIR:-$ROOT/build}
    configure_and_build "$BUILD_DIR" -DZARVIN_WERROR=ON
    BIN=$BUILD_DIR/bin
fi
RUNS=${1:-3}
INTERVAL=${BENCH_INTERVAL:-10}
WORK=$(mktemp -d)
XVFB_PID=
APP_PID=
SHOWN_MS=
cleanup() {
    [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null || true
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
    rm -rf "$WORK"
}
trap cleanup EXIT

# A display of our own: Xvfb picks a free number itself and writes it to us, so two runs at
# once never share one X server (and one's cleanup never takes the other's window away).
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$WORK/display" >/dev/null 2>&1 &
XVFB_PID=$!
for _ in $(seq 200); do
    [ -s "$WORK/display" ] && break
    sleep 0.05
done
DISPLAY_NUMBER=$(head -n1 "$WORK/display" 2>/dev/null || true)
[ -n "$DISPLAY_NUMBER" ] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=:$DISPLAY_NUMBER
xdpyinfo >/dev/null 2>&1 || { echo "Xvfb did not start on $DISPLAY" >&2; exit 1; }

# Per-user folders of a fresh user, with the stand-in on the wave effect.
fresh_user() {
    local home
    home=$(mktemp -d "$WORK/home.XXXX")
    export HOME=$home XDG_DATA_HOME=$home/data XDG_CONFIG_HOME=$home/config XDG_RUNTIME_DIR=$home/run
    mkdir -p "$XDG_RUNTIME_DIR" "$XDG_DATA_HOME/VX77HUE_8246"
    chmod 700 "$XDG_RUNTIME_DIR"
    "$BIN/zarvinctl" --simulate lighting set effect=13 >/dev/null
    printf '[KEYCOLOR]\nDengCheck=%s\n' "$1" >"$XDG_DATA_HOME/VX77HUE_8246/duva.ini"
}

# CPU time of a process in nanoseconds: the run times of its threads from schedstat, exact to
# the nanosecond (the ticks of /proc/PID/stat count 10 ms each, too coarse for an idle window).
cpu_ns() {
    cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { printf "%d\n", s }'
}

now_ns() { date +%s%N; }

# Starts a program and waits until a window of its class is mapped; SHOWN_MS is the time taken
# and APP_PID the process.
start_and_time() {
    local class=$1
    shift
    local start
    start=$(now_ns)
    "$@" >/dev/null 2>&1 &
    APP_PID=$!
    for _ in $(seq 2000); do
        if xdotool search --onlyvisible --classname "^$class\$" >/dev/null 2>&1; then
            SHOWN_MS=$((($(now_ns) - start) / 1000000))
            return 0
        fi
        sleep 0.002
    done
    echo "the window of $class did not show" >&2
    return 1
}

stop_app() {
    kill "$APP_PID" 2>/dev/null || true
    wait "$APP_PID" 2>/dev/null || true
    APP_PID=
}

# CPU share (percent of one core) of a process and of the X server over INTERVAL seconds.
cpu_shares() {
    local pid=$1 a0 x0 a1 x1 t0 t1
    a0=$(cpu_ns "$pid"); x0=$(cpu_ns "$XVFB_PID"); t0=$(now_ns)
    sleep "$INTERVAL"
    a1=$(cpu_ns "$pid"); x1=$(cpu_ns "$XVFB_PID"); t1=$(now_ns)
    awk -v a=$((a1 - a0)) -v x=$((x1 - x0)) -v t=$((t1 - t0)) \
        'BEGIN { printf "%.3f %.3f\n", 100 * a / t, 100 * x / t }'
}

# min / median / max of the numbers on standard input.
spread() {
    sort -g | awk '{ v[NR] = $1 } END { printf "%s / %s / %s", v[1], v[int((NR + 1) / 2)], v[NR] }'
}

: >"$WORK/preview" >"$WORK/xserver" >"$WORK/idle" >"$WORK/start" >"$WORK/memory"
for run in $(seq "$RUNS"); do
    fresh_user 0
    start_and_time zarvin_bare_dialog "$BIN/zarvin_bare_dialog"
    bare=$SHOWN_MS
    stop_app
    start_and_time zarvin "$BIN/zarvin" --simulate
    shown=$SHOWN_MS
    awk -v w="$shown" -v b="$bare" 'BEGIN { printf "%.2f\n", w / b }' >>"$WORK/start"
    echo "run $run: window shown after $shown ms, bare dialog after $bare ms"
    sleep 2
    read -r idle _ < <(cpu_shares "$APP_PID")
    echo "$idle" >>"$WORK/idle"
    awk '/^VmRSS/ { printf "%.1f\n", $2 / 1024 }' "/proc/$APP_PID/status" >>"$WORK/memory"
    stop_app

    fresh_user 1
    start_and_time zarvin "$BIN/zarvin" --simulate
    sleep 2
    read -r preview xserver < <(cpu_shares "$APP_PID")
    echo "$preview" >>"$WORK/preview"
    echo "$xserver" >>"$WORK/xserver"
    stop_app
done

# The link: each ratio RUNS times, one zarvin_bench run each.
LINK_BENCHES='^(ConnectionLoadAt1msPerReport|BackupReadAt1msPerReport/0|ApplyFullMacroAreaAt1msPerReport|ExchangeCpuOverBarePingPong|ExchangeInBatchCpuOverBarePingPong)'
for run in $(seq "$RUNS"); do
    "$BIN/zarvin_bench" --benchmark_filter="$LINK_BENCHES" --benchmark_color=false \
        >"$WORK/link.$run" 2>&1
done
link_ratio() {
    cat "$WORK"/link.* | awk -v name="$1" \
        'index($1, name) == 1 { for (i = 2; i <= NF; ++i) if ($i ~ /^ratio=/) print substr($i, 7) }' |
        spread
}

echo
echo "Figures (min / median / max of $RUNS runs, CPU over ${INTERVAL} s):"
echo "  window CPU, preview animating (wave), % of one core:  $(spread <"$WORK/preview")"
echo "  X server CPU meanwhile, % of one core:               $(spread <"$WORK/xserver")"
echo "  window CPU, idle, lighting switch off, %:            $(spread <"$WORK/idle")"
echo "  start to window shown / bare Qt dialog:              $(spread <"$WORK/start")"
echo "  resident memory, window shown, MB:                   $(spread <"$WORK/memory")"
echo "  connection load / (reports x 1 ms + pauses):         $(link_ratio ConnectionLoadAt1msPerReport)"
echo "  backup read / reports x 1 ms:                        $(link_ratio BackupReadAt1msPerReport)"
echo "  apply of a full macro area / (reports x 1 ms + pauses): $(link_ratio ApplyFullMacroAreaAt1msPerReport)"
echo "  CPU per exchange / bare socketpair ping-pong:        $(link_ratio ExchangeCpuOverBarePingPong)"
echo "  the same, exchanges in one batch:                    $(link_ratio ExchangeInBatchCpuOverBarePingPong)"
echo
echo "The link benchmarks of the last run:"
cat "$WORK/link.$RUNS"
