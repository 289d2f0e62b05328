#!/usr/bin/env bash
# Times the real executable on one piped input of 1000 complete design passes (every method, both
# load types, N from 1 to 10) in a scratch directory; prints the median wall time and peak memory.
# Usage: scripts/throughput.sh [path/to/bandmatch] [runs]
set -euo pipefail
program=$(realpath "${1:-build/bandmatch}")
runs=${2:-7}
passes=1000
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

input="$work/session.txt"
for ((i = 0; i < passes; i++)); do
  n=$((i % 10 + 1))
  if (((i / 3) % 2)); then load=p; level=0.02; delta=0.0004; else load=s; level=50; delta=10; fi
  case $((i % 3)) in
    0) printf 'pass%d %d d %s 10 20 1 %s\n' "$i" "$n" "$load" "$level" ;;
    1) printf 'pass%d %d q %s 144 148 30 %s\n' "$i" "$n" "$load" "$level" ;;
    2) printf 'pass%d %d l %s 0.5 30 %s 2 %s\n' "$i" "$n" "$load" "$level" "$delta" ;;
  esac
  if ((i + 1 < passes)); then echo c; else echo e; fi
done >"$input"

cd "$work"
results=()
for ((run = 0; run < runs; run++)); do
  /usr/bin/time -f '%e %M' -o "$work/time.txt" "$program" <"$input" >/dev/null
  results+=("$(cat "$work/time.txt")")
done
[ "$(find "$work" -name 'pass*.csv' | wc -l)" -eq "$passes" ] || { echo "missing reports"; exit 1; }
printf '%s\n' "${results[@]}" | sort -n | awk -v runs="$runs" -v passes="$passes" '
  { seconds[NR] = $1; kilobytes[NR] = $2 }
  END {
    median = seconds[int((runs + 1) / 2)]
    peak = 0; for (i = 1; i <= NR; i++) if (kilobytes[i] > peak) peak = kilobytes[i]
    printf "%d passes: median wall time %.2f s over %d runs, peak memory %.1f MB\n",
           passes, median, runs, peak / 1024
  }'
