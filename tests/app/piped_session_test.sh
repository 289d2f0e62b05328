#!/bin/sh
# Pipes complete design sessions into the real executable and checks its exit status, its console
# and the result files against the golden transcripts (all but the date line of each pass).
# Usage: piped_session_test.sh BANDMATCH DATA
set -eu
program="$1"
data="$2"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
fail() { echo "$*"; exit 1; }
undated() { sed '/^Current local date and time: /d' "$1"; }

for run in run1 run2 run3; do
  "$program" <"$data/$run/answers.txt" >console.txt 2>errors.txt ||
    fail "$run: exit status $?, expected 0"
  [ ! -s errors.txt ] || fail "$run: unexpected error output: $(cat errors.txt)"
  for file in console.txt "$run.txt" "$run.csv"; do
    undated "$file" >actual
    undated "$data/$run/$file" >expected
    cmp -s actual expected || fail "$run: $file differs from the golden transcript"
  done
done

# Input that ends in the middle of a design: status 1 and one line on standard error.
status=0
printf 'run2\n3\nd\n' | "$program" >console.txt 2>errors.txt || status=$?
[ "$status" -eq 1 ] || fail "exit status $status after truncated input, expected 1"
[ "$(wc -l <errors.txt)" -eq 1 ] || fail "expected one error line"
echo "piped sessions: ok"
