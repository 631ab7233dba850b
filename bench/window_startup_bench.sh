#!/usr/bin/env bash
# Times the whole process from start until its first window is mapped, for Orivel's main
# window and for a bare Qt window, on an X server of its own (Xvfb):
#   bench/window_startup_bench.sh [BUILD_DIR [RUNS]]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
runs=${2:-30}
orivel=$build/bench/window_startup
bare=$build/bench/window_startup_bare
[[ -x "$orivel" && -x "$bare" ]] || {
  echo "Build the benches first: scripts/build.sh $build -DORIVEL_BENCH=ON" >&2
  exit 1
}
tmp=$(mktemp -d)
Xvfb :97 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$tmp"' EXIT
export DISPLAY=:97 QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME=$tmp/config XDG_RUNTIME_DIR=$tmp
for _ in $(seq 50); do [[ -S /tmp/.X11-unix/X97 ]] && break; sleep 0.1; done

# The two programs run in turns, so that a change in the machine's load falls on both.
for _ in 1 2 3; do "$bare" >/dev/null 2>&1; "$orivel" >/dev/null 2>&1; done  # warm the page cache
for ((i = 0; i < runs; i++)); do
  for program in bare orivel; do
    binary=$bare
    [[ $program == orivel ]] && binary=$orivel
    start=$(date +%s%N)
    "$binary" >/dev/null 2>&1
    end=$(date +%s%N)
    echo "$program $(((end - start) / 1000))"
  done
done >"$tmp/times"
# Minimum and median in ms of one program's times, and the ratio of the medians.
stats() { awk -v p="$1" '$1 == p { print $2 }' "$tmp/times" | sort -n |
  awk '{ t[NR] = $1 } END { printf "%.1f %.1f\n", t[1] / 1000, t[int((NR + 1) / 2)] / 1000 }'; }
read -r bare_min bare_median < <(stats bare)
read -r orivel_min orivel_median < <(stats orivel)
printf 'bare Qt window:     min %6.1f ms  median %6.1f ms  (%d runs)\n' "$bare_min" "$bare_median" "$runs"
printf 'Orivel main window: min %6.1f ms  median %6.1f ms  (%d runs)\n' "$orivel_min" "$orivel_median" "$runs"
awk -v o="$orivel_median" -v b="$bare_median" 'BEGIN { printf "ratio of medians:   %.2f\n", o / b }'
