#!/usr/bin/env bash
# Lines of C++ (sources and headers, *.cpp and *.h, every line counted: code, comments and blanks) of the
# program (src/ and tools/) against those of the tests (tests/), and the tests' share of the program.
# Benchmarks and scripts are outside both counts; the demo masters' data tables are program code and count
# with it. Counts what git tracks, so build folders never count.
set -euo pipefail
cd "$(dirname "$0")/.."
lines() { git ls-files -- "$@" | grep -E '\.(cpp|h)$' | xargs -r cat | wc -l; }
code=$(lines src tools)
tests=$(lines tests)
echo "program (src/, tools/): $code lines"
echo "tests (tests/):         $tests lines"
awk -v t="$tests" -v c="$code" 'BEGIN { printf "tests / program:        %.1f%%\n", 100 * t / c }'
