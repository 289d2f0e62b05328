#!/bin/sh
# Pipes a complete design session into the real executable and checks its exit status and files.
set -eu
program="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

printf 'run1\n3\nd\ns\n10\n20\n1\n50\ne\n' | "$program" >console.txt 2>errors.txt
status=$?
[ "$status" -eq 0 ] || { echo "exit status $status, expected 0"; exit 1; }
[ -s run1.txt ] || { echo "run1.txt missing or empty"; exit 1; }
[ -s run1.csv ] || { echo "run1.csv missing or empty"; exit 1; }
[ ! -s errors.txt ] || { echo "unexpected error output"; cat errors.txt; exit 1; }
grep -q '^Enter "c" or "C" to continue  $' console.txt || { echo "closing question missing"; exit 1; }

# Input that ends in the middle of a design: status 1 and one line on standard error.
status=0
printf 'run2\n3\nd\n' | "$program" >console.txt 2>errors.txt || status=$?
[ "$status" -eq 1 ] || { echo "exit status $status after truncated input, expected 1"; exit 1; }
[ "$(wc -l <errors.txt)" -eq 1 ] || { echo "expected one error line"; exit 1; }
echo "piped sessions: ok"
