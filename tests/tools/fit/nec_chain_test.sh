#!/bin/sh
# Real antenna data through the whole chain: nec2c (a method-of-moments simulator, the
# independent source) computes a dipole's input impedance, scripts/nec_to_s1p.sh turns it into
# a Touchstone file, bandmatch-fit fits it (checked against a least-squares fit written here in
# awk), its answers are piped into bandmatch (which must derive the same decrement to 1e-9), and
# bandmatch-export --load puts the network on the simulated antenna, and bandmatch-tune must
# lower its worst in-band reflection there by at least 1 %. Then the shipped example file must
# give the figures its simulation notes recorded.
# Usage: nec_chain_test.sh NEC_TO_S1P BANDMATCH BANDMATCH_FIT BANDMATCH_EXPORT DECK EXAMPLE_S1P
#        BANDMATCH_TUNE
set -eu
absolute() { case "$1" in /*) echo "$1" ;; *) echo "$PWD/$1" ;; esac; }
converter=$(absolute "$1")
bandmatch=$(absolute "$2")
fit=$(absolute "$3")
exporter=$(absolute "$4")
deck=$(absolute "$5")
example=$(absolute "$6")
tuner=$(absolute "$7")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
fail() { echo "FAIL: $*"; exit 1; }

if ! command -v nec2c >/dev/null 2>&1; then
  [ "${CI:-}" = "true" ] && fail "nec2c is not installed"
  echo "SKIPPED: nec2c is not installed (Debian package nec2c)"
  exit 77
fi

# The value after "LABEL =" in a report.
value() { awk -v label="$1" 'index($0, label " =") == 1 { print $NF; exit }' "$2"; }
# |a - b| <= tolerance * |b|
close_to() {
  awk -v a="$1" -v b="$2" -v t="$3" 'BEGIN { d = a - b; if (d < 0) d = -d; m = b < 0 ? -b : b;
    exit !(a != "" && d <= t * m) }'
}

cp "$deck" dipole.nec
nec2c -i dipole.nec -o dipole.out || fail "nec2c ended with status $?"
sh "$converter" dipole.out >dipole.s1p || fail "the converter ended with status $?"
grep -q '^# MHZ Z RI R 50$' dipole.s1p || fail "no option line in the converted file"
[ "$(grep -c '^[0-9]' dipole.s1p)" -eq 19 ] || fail "expected 19 points in dipole.s1p"

"$fit" dipole.s1p 3.5 4.0 >fit.txt 2>fit.err || fail "bandmatch-fit ended with status $?: $(cat fit.err)"
grep -q '^Model: series R-L-C' fit.txt || fail "the dipole is not fitted as a series load"

# The same least squares, X = a*(w/w0) - b*(w0/w) over the band's points, written out here.
awk '/^[0-9]/ && $1 >= 3.5 && $1 <= 4.0 { n++; f[n] = $1; r[n] = 50 * $2; x[n] = 50 * $3 }
  END {
    pi = atan2(0, -1); w0 = 2 * pi * 1e6 * sqrt(f[1] * f[n])
    for (i = 1; i <= n; i++) {
      u = f[i] / sqrt(f[1] * f[n]); v = -1 / u
      uu += u * u; uv += u * v; vv += v * v; uy += u * x[i]; vy += v * x[i]; rs += r[i]
    }
    det = uu * vv - uv * uv; a = (uy * vv - vy * uv) / det; b = (uu * vy - uv * uy) / det
    printf "%.12e %.12e %.12e\n", rs / n, a / w0, 1 / (w0 * b)
  }' dipole.s1p >awk_fit.txt
read -r awk_r awk_l awk_c <awk_fit.txt
close_to "$(value '   R (ohms)' fit.txt)" "$awk_r" 1e-8 || fail "R differs from the awk fit ($awk_r)"
close_to "$(value '   L (H)' fit.txt)" "$awk_l" 1e-8 || fail "L differs from the awk fit ($awk_l)"
close_to "$(value '   C (F)' fit.txt)" "$awk_c" 1e-8 || fail "C differs from the awk fit ($awk_c)"

# The table: ten rows and the limit, every |Gamma| finite and in [0, 1).
awk '$1 ~ /^([0-9]+|inf)$/ && NF == 5 { rows++
    if (!($2 >= 0 && $2 < 1 && $3 >= $2 && $3 < 1)) { print "bad row: " $0; bad = 1 } }
  END { exit bad || rows != 11 }' fit.txt || fail "the best-match table is incomplete or out of range"

# The answers piped into the real program: the decrement it derives is the fitted one.
"$fit" dipole.s1p 3.5 4.0 --answers 3 --name ant >answers.txt || fail "--answers failed"
[ "$(wc -l <answers.txt)" -eq 10 ] || fail "expected ten answer words"
"$bandmatch" <answers.txt >console.txt || fail "bandmatch ended with status $?"
fitted=$(value '   Load Decrement' fit.txt)
derived=$(awk -F, '/^   Load Decrement = *,/ { print $2 }' ant.csv)
close_to "$derived" "$fitted" 1e-9 || fail "bandmatch derived the decrement $derived, fitted $fitted"

# The network on the simulated antenna: the model curve reproduces the report, the measured one
# is finite and reported.
"$exporter" ant.csv --load dipole.s1p >export.txt 2>export.err ||
  fail "bandmatch-export --load ended with status $?: $(cat export.err)"
reported_min=$(awk -F, '/Reflection Coefficient Min/ { print $2 }' ant.csv)
reported_max=$(awk -F, '/Reflection Coefficient Max/ { print $2 }' ant.csv)
model=$(grep 'on the model load' export.txt) || fail "no model-load line"
measured=$(grep 'on the measured load' export.txt) || fail "no measured-load line"
model_min=$(echo "$model" | sed 's/.*min \([^,]*\),.*/\1/')
model_max=$(echo "$model" | sed 's/.*max \([^,]*\),.*/\1/')
close_to "$model_min" "$reported_min" 1e-4 || fail "model |Gamma| min $model_min, reported $reported_min"
close_to "$model_max" "$reported_max" 1e-4 || fail "model |Gamma| max $model_max, reported $reported_max"
echo "$measured" | awk '{ sub(/.*min /, ""); split($0, v, /[, ]+/)
  exit !(v[1] >= 0 && v[1] < 1 && v[3] >= v[1] && v[3] < 1) }' ||
  fail "the measured-load result is not in [0, 1): $measured"
xmllint --noout ant.svg 2>/dev/null || ! command -v xmllint >/dev/null || fail "ant.svg is not well-formed"
[ "$(grep -c '<polyline' ant.svg)" -eq 2 ] || fail "ant.svg needs the model and the measured curve"

# The same network tuned on the simulated antenna: it starts from the exporter's figure and
# ends at least 1 % lower.
"$tuner" ant.csv --load dipole.s1p --out tuned >tune.txt 2>tune.err ||
  fail "bandmatch-tune --load ended with status $?: $(cat tune.err)"
untuned=$(awk '/^untuned on the measured load  / { print $6 }' tune.txt)
tuned=$(awk '/^tuned on the measured load  / { print $6 }' tune.txt)
exported=$(echo "$measured" | sed 's/.*max \([^,]*\),.*/\1/')
close_to "$untuned" "$exported" 1e-5 || fail "untuned |Gamma| $untuned, the exporter's $exported"
awk -v a="$tuned" -v b="$untuned" 'BEGIN { exit !(a != "" && a > 0 && a <= 0.99 * b) }' ||
  fail "tuning lowered the worst |Gamma| from $untuned only to $tuned"
for file in tuned.cir tuned.s1p tuned.svg tuned-values.csv; do
  [ -s "$file" ] || fail "bandmatch-tune wrote no $file"
done

# The shipped example, simulated over average ground: the figures of its simulation notes
# (R 79.234 ohms, L 36.700 uH, C 49.150 pF, worst error 14.0 % at 3.5 MHz).
"$fit" "$example" 3.5 4.0 >example.txt || fail "bandmatch-fit on the example failed"
close_to "$(value '   R (ohms)' example.txt)" 79.234 1e-5 || fail "example R"
close_to "$(value '   L (H)' example.txt)" 36.700e-6 1e-4 || fail "example L"
close_to "$(value '   C (F)' example.txt)" 49.150e-12 1e-4 || fail "example C"
grep -q 'Worst impedance error over the band = *14.00 % at 3.500000 MHz' example.txt ||
  fail "example worst error"
echo "nec2c antenna through fit, design, export and tuning: ok"
