#!/usr/bin/env bash
# Runs the examples of the README and of the user guide (docs/*.md) as a reader types them, from
# the root of a scratch copy of the repository, and compares every output block the pages show
# with what the programs print. Each page starts with an empty scratch/ and runs its ```sh blocks
# in order; a block must end with status 0 and print nothing on standard error. Markers, each an
# HTML comment on the line right before a fenced block (invisible in the rendered page):
#   <!-- check: output -->        the ```text block below is the standard output of the last
#                                 ```sh block above it on the page
#   <!-- check: session -->       the ```text block below is a terminal session of bandmatch
#                                 started in scratch/ (as scripts/start.sh starts it): the answer
#                                 after each "Enter ...:" prompt is typed, and what the program
#                                 prints must match the rest
#   <!-- check: not run, WHY -->  the ```sh block below is not run (it takes long, needs a
#                                 terminal or runs until stopped)
# The date of a report, a time in ms and the search's time in seconds ("... in 0.41 s" closing a
# line) are masked; nothing else. Files outside scratch/ must be the same after every page as
# before, so the examples leave `git status` clean (what .gitignore names may appear).
# Usage: scripts/check_docs.sh [BUILD_DIR]   (the folder holding bandmatch and its companions;
#                                             default: build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
for program in bandmatch bandmatch-fit bandmatch-export bandmatch-tune bandmatch-search; do
  [ -x "$build/$program" ] || { echo "check_docs: $build/$program is not built"; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A copy of the sources without builds or scratch files, with build/ pointing at the programs.
tree="$work/tree"
mkdir "$tree"
tar -C "$root" --exclude=./.git --exclude='./build*' --exclude=./out --exclude=./scratch --exclude=./.venv \
  --exclude=node_modules -cf - . | tar -C "$tree" -xf -
ln -s "$build" "$tree/build"
snapshot() {
  # What .gitignore leaves out (a virtual environment, pip's build, caches) is not counted.
  (cd "$tree" && find . \( -path ./build -o -path ./scratch -o -path ./.venv -o -path ./build-pip \
    -o -name '*.egg-info' -o -name __pycache__ \) -prune -o -type f -print0 |
    sort -z | xargs -0 md5sum)
}
snapshot >"$work/before"

# The report's date and a measured time vary from run to run; everything else must not.
mask() {
  sed -E -e 's/^(Current local date and time: ).*/\1(date)/' \
    -e 's/[0-9]+(\.[0-9]+)? ms\b/(time) ms/g' -e 's/ in [0-9]+\.[0-9]+ s$/ in (time) s/' -e '$a\'
}

failures=0
checked=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# Splits a page into its fenced blocks: blocks/N holds the text, the manifest one line per
# block: number, fence tag, marker, line of the opening fence.
split_page() {
  awk -v dir="$2" '
    !inside && /^```/ {
      inside = 1; n++; file = dir "/" n
      printf "%d\037%s\037%s\037%d\n", n, substr($0, 4), marker, NR > (dir "/manifest")
      printf "" > file
      marker = ""
      next
    }
    inside && /^```$/ { inside = 0; close(file); next }
    inside { print > file; next }
    /^<!-- check: .* -->$/ { marker = substr($0, 13, length($0) - 16); next }
    { marker = "" }' "$1"
}

# A terminal session: the answers typed after the prompts, and the console text without them
# (a typed answer ends its line, and the program's own line end then leaves a blank line).
split_session() {
  awk -v answers="$2" '
    skip && $0 == "" { skip = 0; next }
    { skip = 0 }
    /^Enter.*: +[^ ]+$/ {
      answer = $0; sub(/.* /, "", answer); print answer > answers
      sub(/[^ ]+$/, ""); print; skip = 1; next
    }
    { print }' "$1"
}

compare() {
  local page=$1 line=$2 shown=$3 printed=$4
  checked=$((checked + 1))
  if ! diff -u --label "$page:$line (shown)" --label "printed" <(mask <"$shown") \
    <(mask <"$printed") >"$work/diff"; then
    fail "$page:$line: the block differs from what the commands print"
    cat "$work/diff"
  fi
}

pages=(README.md)
for file in "$tree"/docs/*.md; do
  pages+=("docs/${file##*/}")
done
for page in "${pages[@]}"; do
  # The Python page imports the package from the build folder; a build without it (the
  # sanitizers' build leaves the module out) cannot run that page.
  if [ "$page" = docs/python.md ] && [ ! -f "$build/python/bandmatch/__init__.py" ]; then
    echo "check_docs: $page skipped: $build has no Python package (build/python/bandmatch)"
    continue
  fi
  blocks="$work/blocks/${page//\//_}"
  mkdir -p "$blocks"
  : >"$blocks/manifest"
  split_page "$tree/$page" "$blocks"
  rm -rf "$tree/scratch"
  last=""
  while IFS=$'\037' read -r n tag marker line; do
    case "$tag:$marker" in
      sh:"not run, "*) ;;
      sh:)
        last="$blocks/$n.out"
        status=0
        (cd "$tree" && bash -e -o pipefail "$blocks/$n" >"$last" 2>"$blocks/$n.err") || status=$?
        [ "$status" -eq 0 ] || fail "$page:$line: the commands ended with status $status"
        [ ! -s "$blocks/$n.err" ] || fail "$page:$line: error output: $(cat "$blocks/$n.err")"
        ;;
      text:output)
        if [ -z "$last" ]; then
          fail "$page:$line: an output block with no command block above it"
        else
          compare "$page" "$line" "$blocks/$n" "$last"
        fi
        ;;
      text:session)
        split_session "$blocks/$n" "$blocks/$n.answers" >"$blocks/$n.console"
        mkdir -p "$tree/scratch"
        status=0
        (cd "$tree/scratch" && ../build/bandmatch <"$blocks/$n.answers" >"$blocks/$n.out" \
          2>"$blocks/$n.err") || status=$?
        [ "$status" -eq 0 ] || fail "$page:$line: the session ended with status $status"
        compare "$page" "$line" "$blocks/$n.console" "$blocks/$n.out"
        ;;
      text:) ;;
      sh:* | text:*) fail "$page:$line: unknown marker \"$marker\"" ;;
      *:?*) fail "$page:$line: a check marker before a block that is neither sh nor text" ;;
    esac
  done <"$blocks/manifest"
  snapshot >"$work/after"
  if ! diff "$work/before" "$work/after" >"$work/changed"; then
    fail "$page: its commands changed files outside scratch/:"
    sed -n 's/^[<>] [0-9a-f]*  \.\///p' "$work/changed" | head -n 20
    cp "$work/after" "$work/before"
  fi
done

echo "documentation examples: $checked output blocks checked, $failures failures"
[ "$failures" -eq 0 ]
