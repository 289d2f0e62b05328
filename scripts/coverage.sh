#!/usr/bin/env bash
# Line and branch coverage of src/ by the whole test suite, measured with gcov through gcovr.
# Fails when the figures fall below 95% of lines or 85% of branches.
# Usage: scripts/coverage.sh [build-directory]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-coverage}
rm -rf "$build"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug -DBANDMATCH_COVERAGE=ON -DBANDMATCH_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j2
ctest --test-dir "$build" --output-on-failure
# Branches that only exist for exceptions thrown by the standard library are not ours to test.
gcovr --root . --object-directory "$build" --filter 'src/' \
  --exclude-throw-branches --exclude-unreachable-branches \
  --print-summary --txt "$build/coverage.txt" \
  --fail-under-line 95 --fail-under-branch 85
