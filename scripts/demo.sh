#!/usr/bin/env bash
# Installs what the register needs, builds it, creates a demo program folder (SQLite databases with demo
# masters, virtual printers writing into demo/prints) and starts the register on it. Without a display the
# register runs under Xvfb and a screenshot of it is saved.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$root/build" -j"$(nproc)" --target vantle vantle-admin
demo=${VANTLE_DEMO_DIR:-$root/demo}
[ -f "$demo/INFO.MDB" ] || "$root/build/tools/vantle-admin" init "$demo" --demo
mkdir -p "$demo/prints"
export VANTLE_HOME="$demo" VANTLE_PRINT_DIR="$demo/prints"
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$root/build/src/vantle"
fi
shot="$demo/screenshot.png"
echo "No display: running the register under Xvfb for ${VANTLE_DEMO_SECONDS:-8} seconds."
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  "$1" & pid=$!
  sleep "$3"
  import -window root "$2" 2>/dev/null || xwd -root -silent | convert xwd:- "$2" 2>/dev/null || true
  kill $pid 2>/dev/null; wait $pid 2>/dev/null || true
' _ "$root/build/src/vantle" "$shot" "${VANTLE_DEMO_SECONDS:-8}"
if [ -s "$shot" ]; then echo "Screenshot: $shot"; else echo "No screenshot could be taken (ImageMagick missing?)."; fi
