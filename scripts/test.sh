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
  # Every finding fails the test that makes it. The suppression files name only leaks and reports inside
  # system libraries (the ODBC driver manager and driver, fontconfig), never the register's own code.
  export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:halt_on_error=1:detect_stack_use_after_return=0:strict_init_order=1:check_initialization_order=1"
  export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:suppressions=$root/scripts/ubsan.supp"
fi
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${extra[@]}"
cmake --build "$build" -j"$(nproc)"
# The banks' codes of the npm package zengin-code, for the test that imports the real package (its data is not
# kept in the repository).
npm install --silent --no-save --no-package-lock --no-audit --no-fund --prefix "$build/npm" zengin-code
export VANTLE_ZENGIN_DIR="$build/npm/node_modules/zengin-code"
cd "$build"
export QTEST_DISABLE_STACK_DUMP=1
"$root/scripts/with-test-server.sh" ctest --output-on-failure -j1 </dev/null
