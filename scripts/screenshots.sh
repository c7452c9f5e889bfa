#!/usr/bin/env bash
# Writes a PNG picture of every screen and dialog (the register with a sale, the settlement screen, the
# calendar, each settings dialog, the payment and report dialogs, the progress window) into the folder given,
# drawn offscreen from the program's own classes on a demo shop. For a person to look at; no test.
#   scripts/screenshots.sh <folder> [build folder, default build]
set -euo pipefail
[ $# -ge 1 ] || { echo "usage: $0 <folder> [build folder]" >&2; exit 2; }
out=$(realpath -m "$1")
root=$(cd "$(dirname "$0")/.." && pwd)
build=${2:-$root/build}
if [ ! -f "$build/build.ninja" ] && [ ! -f "$build/Makefile" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build" -j2 --target vantle-screenshots
mkdir -p "$out"
QT_QPA_PLATFORM=offscreen LANG=C.UTF-8 LC_ALL=C.UTF-8 "$build/tests/vantle-screenshots" "$out"
