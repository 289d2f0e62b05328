#!/bin/sh
# From design to simulation with the real executables: a design by piped answers, its export,
# ngspice running the netlist in batch mode and reproducing the Touchstone magnitudes, xmllint
# on the plot, the guide's buildable-network example (docs/from-ideal-to-built.md); then bad inputs,
# each with status 2, one line on standard error and no file.
# Usage: piped_export_test.sh BANDMATCH BANDMATCH_EXPORT
set -eu
absolute() { case "$1" in /*) echo "$1" ;; *) echo "$PWD/$1" ;; esac; }
bandmatch=$(absolute "$1")
exporter=$(absolute "$2")
guide_page=$(cd "$(dirname "$0")/../../.." && pwd)/docs/from-ideal-to-built.md
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
fail() { echo "FAIL: $*"; exit 1; }

# ngspice and xmllint are the independent clients; outside CI a missing one skips the check.
for tool in ngspice xmllint; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    [ "${CI:-}" = "true" ] && fail "$tool is not installed"
    echo "SKIPPED: $tool is not installed (Debian package ngspice or libxml2-utils)"
    exit 77
  fi
done

# The guide's first example: N = 3, decrement entered directly, series load, 10 to 20 MHz,
# decrement 1, 50 ohms.
printf 'run1\n3\nd\ns\n10\n20\n1\n50\ne\n' | "$bandmatch" >/dev/null
"$exporter" run1.csv >export.out 2>export.err || fail "export of run1.csv ended with status $?"
[ ! -s export.err ] || fail "unexpected error output: $(cat export.err)"
for suffix in cir s1p svg; do
  [ -s "run1.$suffix" ] || fail "run1.$suffix missing or empty"
done

ngspice -b run1.cir >ngspice.out 2>ngspice.err || fail "ngspice ended with status $?: $(cat ngspice.err)"
! grep -qi 'error' ngspice.out ngspice.err || fail "ngspice reported an error"
tab=$(printf '\t')
grep "^[0-9][0-9]*$tab" ngspice.out | cut -f2,3 >simulated.txt
grep -v '^[!#]' run1.s1p >exported.txt
[ "$(wc -l <simulated.txt)" -eq 801 ] || fail "ngspice printed $(wc -l <simulated.txt) points, expected 801"
[ "$(wc -l <exported.txt)" -eq 801 ] || fail "run1.s1p holds $(wc -l <exported.txt) points, expected 801"
paste simulated.txt exported.txt | awk -F '[ \t]+' '
  function abs(x) { return x < 0 ? -x : x }
  {
    if (abs($1 - $3 * 1e6) > 1e-12 * $1) { print "frequency differs at point " NR; bad = 1 }
    if (abs($2 - $4) > 1e-6 * $4) { print "magnitude differs at point " NR ": " $2 " " $4; bad = 1 }
  }
  END { exit bad }' || fail "ngspice and run1.s1p disagree"

xmllint --noout run1.svg || fail "run1.svg is not well-formed"
[ "$(grep -c '<polyline' run1.svg)" -eq 1 ] || fail "run1.svg needs exactly one polyline"

[ "$("$exporter" --version)" = "bandmatch-export 1.0.0" ] || fail "wrong version text"

# The guide's buildable-network example prints exactly the table the page shows; the page's
# examples write into scratch/, so the file names in the output carry that folder.
command='bandmatch-export scratch/run1.csv --source-ohms 50 --series E24 --q-inductor 100'
command="$command --q-capacitor 500"
awk -v command="./build/$command" '
  $0 == command { found = 1; next }
  found && /^```text$/ { inside = 1; next }
  inside && /^```$/ { exit }
  inside { print }' "$guide_page" >guide-summary.txt
[ -s guide-summary.txt ] || fail "$guide_page has no output block after: $command"
mkdir -p built/scratch
(cd built && cp ../run1.csv scratch/ && "$exporter" scratch/run1.csv --source-ohms 50 --series E24 \
  --q-inductor 100 --q-capacitor 500 >../built-summary.txt) || fail "the guide's example failed"
diff guide-summary.txt built-summary.txt || fail "the guide's summary differs from the output"

# Bad inputs through the real executable.
mkdir bad
cd bad
cp ../run1.csv good.csv
printf 'a,b\n1,2\n' >other.csv
expect_refusal() {
  before=$(ls | sort)
  status=0
  "$exporter" "$@" >out.txt 2>err.txt || status=$?
  rm -f out.txt
  [ "$status" -eq 2 ] || fail "$* ended with status $status, expected 2"
  [ "$(wc -l <err.txt)" -eq 1 ] || fail "$* gave $(wc -l <err.txt) error lines, expected 1"
  grep -q '^bandmatch-export: ' err.txt || fail "$*: error line without the program name"
  rm -f err.txt
  [ "$(ls | sort)" = "$before" ] || fail "$* left files behind: $(ls)"
}
expect_refusal missing.csv
expect_refusal other.csv
expect_refusal good.csv --points 1
expect_refusal good.csv --points 100001
expect_refusal good.csv --span 0.5
expect_refusal good.csv --out missing/folder/run1
expect_refusal good.csv --unknown
expect_refusal good.csv --q-inductor 0
expect_refusal good.csv --q-capacitor -3
expect_refusal good.csv --series E7
expect_refusal good.csv --source-ohms 0.0005
expect_refusal good.csv --source-ohms 1000001 --parts
echo "design, export and simulation: ok"
