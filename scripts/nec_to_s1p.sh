#!/bin/sh
# nec_to_s1p.sh - turn the input impedance that nec2c prints into a Touchstone
# version 1 one-port file on stdout.
#
#   usage: nec_to_s1p.sh NEC2C_OUTPUT_FILE      (or '-' / nothing for stdin)
#
# Each frequency's "ANTENNA INPUT PARAMETERS" table gives the source voltage,
# current, impedance and admittance.  The impedance is written as
# '# MHZ Z RI R 50': Touchstone 1 stores Z normalized to R, so the data are
# nec2c's ohms divided by 50, which is exact in decimal and loses nothing.
#
# nec2c prints every figure with 5 significant digits; data are written with
# 11 so that the division by 50 never rounds them further.
#
# Exit status 1 with one line on stderr when the file cannot be read or holds
# no usable impedance table.

prog=nec_to_s1p.sh

if [ $# -gt 1 ]; then
    echo "$prog: usage: $prog [NEC2C_OUTPUT_FILE]" >&2
    exit 2
fi
src=${1:--}
if [ "$src" != - ] && [ ! -r "$src" ]; then
    echo "$prog: cannot read '$src'" >&2
    exit 1
fi

LC_ALL=C
export LC_ALL

# awk writes the Touchstone text to stdout and, on failure, exactly one
# message line to stderr followed by a non-zero exit.
exec awk -v prog="$prog" -v src="$src" '
function fail(msg) {
    printf "%s: %s\n", prog, msg > "/dev/stderr"
    failed = 1
    exit 1
}

# Split a line into numbers even where fixed-width fields touch
# ("5.8813E+01-1.1438E+02"); returns the count, numbers in num[1..n].
function numbers(line,    n, s, m) {
    n = 0
    s = line
    while (match(s, /[-+]?([0-9]+\.?[0-9]*|\.[0-9]+)([EeDd][-+]?[0-9]+)?/)) {
        num[++n] = substr(s, RSTART, RLENGTH)
        gsub(/[Dd]/, "E", num[n])
        s = substr(s, RSTART + RLENGTH)
    }
    return n
}

function relerr(a, b) {
    if (a < 0) a = -a
    if (b < 0) b = -b
    return (b > 0) ? a / b : a
}

BEGIN {
    ncomment = 0; npoint = 0; freq = ""; state = "";
}

{ sub(/\r$/, "") }   # tolerate CRLF line ends

# Deck comments (CM/CE cards) are echoed between the COMMENTS banner and the next banner
# ("-------- STRUCTURE ... --------").
/-+ COMMENTS -+/                { state = "comments"; next }
state == "comments" && /-----+ [A-Z]/ { state = "" }
state == "comments" {
    line = $0
    sub(/^[ \t]+/, "", line); sub(/[ \t\r]+$/, "", line)
    if (line != "") comment[++ncomment] = line
    next
}

# nec2c writes "FREQUENCY : 3.5000E+00 MHz"; the Fortran layout used "=".
/FREQUENCY[ \t]*[:=]/ {
    line = $0
    sub(/^.*FREQUENCY[ \t]*[:=]/, "", line)
    if (numbers(line) < 1) fail("unreadable frequency line: " $0)
    freq = num[1] + 0
    unit = toupper(line)
    if (unit ~ /GHZ/) freq *= 1000
    else if (unit ~ /KHZ/) freq /= 1000
    else if (unit ~ /[^KMG]HZ/) freq /= 1e6
    nsrc = 0
    next
}

# nec2c closes a finished run with "TOTAL RUN TIME"; without it the sweep
# was cut short and the table would silently miss frequencies.
/RUN TIME/ { finished = 1 }

/ANTENNA INPUT PARAMETERS/ { state = "header"; zcol = 0; next }

# Locate the impedance pair from the header: after TAG and SEG, every
# quantity label (VOLTAGE, CURRENT, IMPEDANCE, ADMITTANCE) owns a
# real/imaginary pair of columns.
state == "header" && /IMPEDANCE/ {
    line = toupper($0)
    zcol = 0; vcol = 0; icol = 0; k = 0
    nw = split(line, w, /[ \t]+/)
    for (j = 1; j <= nw; j++) {
        if (w[j] ~ /^(VOLTAGE|CURRENT|IMPEDANCE|ADMITTANCE)$/) {
            col = 3 + 2 * k; k++
            if (w[j] == "VOLTAGE")   vcol = col
            if (w[j] == "CURRENT")   icol = col
            if (w[j] == "IMPEDANCE") zcol = col
        }
    }
    if (zcol == 0) fail("no IMPEDANCE column in: " $0)
    next
}
state == "header" && /[Nn][Oo]:/ { state = "table"; next }
state == "header" && NF == 0 { next }
state == "table" && NF == 0 { state = ""; next }
state == "table" {
    if (freq == "") fail("impedance table before any FREQUENCY line")
    if (zcol == 0) fail("impedance table without an IMPEDANCE heading")
    n = numbers($0)
    if (n < zcol + 1) fail("short impedance row: " $0)
    zr = num[zcol] + 0; zi = num[zcol + 1] + 0
    # Guard against a misread layout: Z must equal V/I to print precision.
    if (vcol && icol) {
        vr = num[vcol]; vi = num[vcol + 1]; ir = num[icol]; ii = num[icol + 1]
        d = ir * ir + ii * ii
        if (d > 0) {
            qr = (vr * ir + vi * ii) / d; qi = (vi * ir - vr * ii) / d
            mag = sqrt(zr * zr + zi * zi)
            if (relerr(qr - zr, mag) > 1e-3 || relerr(qi - zi, mag) > 1e-3)
                fail("impedance column disagrees with V/I at " freq " MHz")
        }
    }
    if (++nsrc > 1) fail("more than one source at " freq " MHz: not a one-port")
    if (npoint > 0 && freq == f[npoint]) {
        # A repeated solution at the same frequency (several XQ/RP cards)
        # must agree; keep one copy.
        if (zr != r[npoint] || zi != x[npoint])
            fail("two different impedances at " freq " MHz")
        next
    }
    if (npoint > 0 && freq < f[npoint])
        fail("frequencies not increasing at " freq " MHz")
    npoint++
    f[npoint] = freq; r[npoint] = zr; x[npoint] = zi
    tag = num[1]; seg = num[2]
    next
}

END {
    if (failed) exit 1
    if (npoint == 0) {
        printf "%s: no ANTENNA INPUT PARAMETERS impedance table in %s\n", prog, (src == "-" ? "standard input" : src) > "/dev/stderr"
        exit 1
    }
    if (!finished) {
        printf "%s: %s ends before nec2c finished (no RUN TIME line)\n", prog, (src == "-" ? "standard input" : src) > "/dev/stderr"
        exit 1
    }
    print "! Input impedance computed by nec2c (method of moments)"
    for (j = 1; j <= ncomment; j++) print "! " comment[j]
    printf "! source: tag %d segment %d, %d frequencies %.10g to %.10g MHz\n", tag, seg, npoint, f[1], f[npoint]
    print "! data: Z / 50 ohm (nec2c prints 5 significant digits)"
    print "# MHZ Z RI R 50"
    for (j = 1; j <= npoint; j++)
        printf "%.10e %.10e %.10e\n", f[j], r[j] / 50, x[j] / 50
}
' "$src"
