#!/bin/sh
# A few seconds of one fuzzer from its kept seed corpus; new inputs go to a scratch folder so the
# corpus stays as committed. Usage: scripts/fuzz_smoke.sh FUZZER CORPUS [SECONDS]
set -eu
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
"$1" -max_total_time="${3:-3}" -timeout=10 -rss_limit_mb=1024 -malloc_limit_mb=1024 \
  -artifact_prefix="$scratch/" "$scratch" "$2" 2>"$scratch/log" || { tail -n 30 "$scratch/log"; exit 1; }
