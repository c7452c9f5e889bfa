#!/usr/bin/env bash
# Time from starting the register to its calendar window being on screen, on a demo program folder.
# Runs under a private Xvfb and polls the window list for the caption "日付設定" (xwininfo; every poll
# costs about 2 ms, so the figures are that much coarse).
#   benchmarks/bench_startup.sh [build folder] [runs]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
runs=${2:-10}
[ -x "$build/src/vantle" ] && [ -x "$build/tools/vantle-admin" ] || {
  echo "build vantle and vantle-admin in $build first" >&2; exit 1; }
demo=$(mktemp -d)
trap 'rm -rf "$demo"' EXIT
rmdir "$demo" && "$build/tools/vantle-admin" init "$demo" --demo >/dev/null

xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" bash -c '
  vantle=$1 runs=$2
  export VANTLE_HOME=$3
  times=()
  for run in $(seq "$runs"); do
    start=$(date +%s%N)
    "$vantle" 2>/dev/null & pid=$!
    until xwininfo -root -tree 2>/dev/null | grep -q "\"日付設定\""; do
      kill -0 $pid 2>/dev/null || { echo "the register ended before its calendar showed" >&2; exit 1; }
    done
    shown=$(date +%s%N)
    times+=($(( (shown - start) / 1000000 )))
    kill $pid; wait $pid 2>/dev/null || true
  done
  sorted=($(printf "%s\n" "${times[@]}" | sort -n))
  echo "start to calendar, ms: ${times[*]}"
  echo "median ${sorted[$(( ${#sorted[@]} / 2 ))]} ms, best ${sorted[0]} ms, worst ${sorted[-1]} ms (goal: under 500 ms)"
' _ "$build/src/vantle" "$runs" "$demo"
