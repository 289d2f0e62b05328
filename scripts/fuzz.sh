#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, runs their few-second smoke runs under CTest, then runs
# each for a bounded time from the seed corpus kept in fuzz/corpus. Any crash, leak, undefined
# behaviour, time-out or memory blow-up fails it.
# Usage: scripts/fuzz.sh [seconds-per-target] [build-directory]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
build=${2:-build-fuzz}
targets=(reader session csv_report web_form touchstone search_text)
CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBANDMATCH_FUZZ=ON \
  -DBUILD_TESTING=OFF -DBANDMATCH_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j2 --target "${targets[@]/%/_fuzzer}"
ctest --test-dir "$build" -L fuzz --output-on-failure
for target in "${targets[@]}"; do
  found=$(mktemp -d)
  artifacts=$(mktemp -d)
  echo "== fuzzing the ${target} target for ${seconds} s"
  # New inputs go to a scratch folder so that the kept corpus stays as committed.
  if ! "$build/${target}_fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=1024 \
      -malloc_limit_mb=1024 -print_final_stats=1 -artifact_prefix="$artifacts/" \
      "$found" "$PWD/fuzz/corpus/$target" 2>"$found.log"; then
    tail -n 40 "$found.log"
    echo "fuzzing the ${target} target failed; reproducer in $artifacts"
    exit 1
  fi
  grep -E '^stat::number_of_executed_units|^Done' "$found.log" || true
  rm -rf "$found" "$found.log" "$artifacts"
done
