#!/usr/bin/env bash
# Checks that every include in src/ points down the layers: a file may include headers of its
# own folder and of layers of a lower rank, never of a layer at its rank or above, and every
# project header it names must exist (a generated header counts by its .in template). Prints the
# layer graph: each layer with the layers it really includes.
# Usage: scripts/check_layers.sh [ROOT]   (ROOT holds src/; default: the repository)
set -euo pipefail
root=${1:-"$(dirname "$0")/.."}
src="$root/src"

# Layer folders under src/, bottom to top, with their rank. Equal ranks may not include each other.
layers=(
  "core 0"
  "console 1"
  "files 1"
  "synthesis 2"
  "network 3"
  "entry 3"
  "report 3"
  "formats 4"
  "drawing 4"
  "tuning 4"
  "app 4"
  "fitting 4"
  "runs 5"
  "tools/common 6"
  "web 6"
  "tools/export 7"
  "tools/fit 7"
  "tools/tune 7"
  "python 7"
  "tools/search 7"
)
declare -A rank
ordered=()
for entry in "${layers[@]}"; do
  rank[${entry% *}]=${entry#* }
  ordered+=("${entry% *}")
done

# The layer of a path relative to src/: its folder, or the companion tool's folder under tools/.
layer_of() {
  case "$1" in
    tools/*/*) local rest=${1#tools/}; echo "tools/${rest%%/*}" ;;
    */*) echo "${1%%/*}" ;;
    *) echo "" ;;
  esac
}

failures=0
declare -A edges
while IFS= read -r -d '' file; do
  relative=${file#"$src"/}
  own=$(layer_of "$relative")
  if [ -z "$own" ] || [ -z "${rank[$own]+set}" ]; then
    echo "layer check: $relative lies in no layer"
    failures=$((failures + 1))
    continue
  fi
  while IFS= read -r included; do
    target=$(layer_of "$included")
    if [ ! -f "$src/$included" ] && [ ! -f "$src/$included.in" ]; then
      echo "layer check: $relative includes \"$included\", which is not a project header"
      failures=$((failures + 1))
    elif [ -z "$target" ] || [ -z "${rank[$target]+set}" ]; then
      echo "layer check: $relative includes \"$included\", which lies in no layer"
      failures=$((failures + 1))
    elif [ "$target" != "$own" ]; then
      edges["$own>$target"]=1
      if [ "${rank[$target]}" -ge "${rank[$own]}" ]; then
        echo "layer check: $relative ($own) includes \"$included\" ($target), which is not below it"
        failures=$((failures + 1))
      fi
    fi
  done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
done < <(find "$src" -type f \( -name '*.hpp' -o -name '*.cpp' -o -name '*.hpp.in' \) -print0 | sort -z)

echo "layer graph, bottom to top (rank: layer -> layers it includes):"
for layer in "${ordered[@]}"; do
  [ -d "$src/$layer" ] || continue
  below=()
  for other in "${ordered[@]}"; do
    [ -n "${edges["$layer>$other"]+set}" ] && below+=("$other")
  done
  printf '  %s: %-13s -> %s\n' "${rank[$layer]}" "$layer" "${below[*]:-(nothing)}"
done

if [ "$failures" -gt 0 ]; then
  echo "layer check failed: $failures include(s) against the layers"
  exit 1
fi
echo "layer check: every include points down"
