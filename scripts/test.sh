#!/usr/bin/env bash
# Installs what the register needs, builds it with its tests and runs every test, the MariaDB ones against a
# private server on 127.0.0.1. VANTLE_SANITIZE=1 builds with AddressSanitizer and UBSan instead.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
build="$root/build"
extra=()
if [ "${VANTLE_SANITIZE:-0}" = 1 ]; then
  build="$root/build-sanitize"
  extra=(-DVANTLE_SANITIZE=ON)
fi
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${extra[@]}"
cmake --build "$build" -j"$(nproc)"
cd "$build"
export QTEST_DISABLE_STACK_DUMP=1
"$root/scripts/with-test-server.sh" ctest --output-on-failure -j1 </dev/null
