#!/bin/sh
# Pipes complete design sessions into the real executable and checks its exit status, its console
# and the result files it leaves.
set -eu
program="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
fail() { echo "$*"; exit 1; }

printf 'run1\n3\nd\ns\n10\n20\n1\n50\ne\n' | "$program" >console.txt 2>errors.txt ||
  fail "exit status $?, expected 0"
[ ! -s errors.txt ] || fail "unexpected error output: $(cat errors.txt)"
grep -q '^Enter "c" or "C" to continue  $' console.txt || fail "closing question missing"

# The text file is the credits block and the body that the console shows; the CSV has 58 + 3N
# lines with its inputs heading on line 14 and the last row ending the file.
[ "$(wc -l <run1.txt)" -eq 61 ] || fail "run1.txt has $(wc -l <run1.txt) lines, expected 61"
[ "$(wc -l <run1.csv)" -eq 67 ] || fail "run1.csv has $(wc -l <run1.csv) lines, expected 67"
[ "$(sed -n 14p run1.txt)" = "Inputs:" ] || fail "line 14 of run1.txt is not Inputs:"
[ "$(sed -n 14p run1.csv)" = "Inputs:" ] || fail "line 14 of run1.csv is not Inputs:"
tail -n +14 run1.txt >body.txt
sed -n '/^Inputs:$/,/^   Source Resistance (ohms) = /p' console.txt >console_body.txt
cmp -s body.txt console_body.txt || fail "console body differs from the text report body"
[ "$(tail -n 1 run1.csv)" = "   Source Resistance (ohms) = ,5.768682715e+001" ] ||
  fail "unexpected last CSV row: $(tail -n 1 run1.csv)"
grep -qx '   L(1) (H) =                 7.957747155e-007' run1.txt || fail "L(1) differs"
head -n 13 run1.csv | grep -q ',' && fail "comma in the CSV credits block"

# Input that ends in the middle of a design: status 1 and one line on standard error.
status=0
printf 'run2\n3\nd\n' | "$program" >console.txt 2>errors.txt || status=$?
[ "$status" -eq 1 ] || fail "exit status $status after truncated input, expected 1"
[ "$(wc -l <errors.txt)" -eq 1 ] || fail "expected one error line"
echo "piped sessions: ok"
