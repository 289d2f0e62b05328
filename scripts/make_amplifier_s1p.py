#!/usr/bin/python3
"""Writes examples/amplifier-input.s1p: the input impedance of a small-signal bipolar transistor
stage, the complex source of the bandmatch-search guide's lumped example.

The model is the hybrid-pi input seen at the base lead: the base spreading resistance rb and the
package's lead inductance Lb in series with the intrinsic input, r_pi across C_pi,

    Z(f) = rb + j w Lb + r_pi / (1 + j w r_pi C_pi),        w = 2 pi f,

so both the resistance and the reactance change with frequency: r_pi C_pi makes the resistance
fall from rb + r_pi towards rb as the frequency rises. No single series or parallel R-L-C is
exact for it, which is why the guide gives it as data. The values belong to a transistor biased
at about 10 mA (gm 0.4 S, beta 100, fT near 2 GHz).

Usage: /usr/bin/python3 scripts/make_amplifier_s1p.py [FILE]   (default: standard output)
"""

import sys

import numpy as np

BASE_RESISTANCE = 8.0  # rb, ohms
LEAD_INDUCTANCE = 1.5e-9  # Lb, henries
PI_RESISTANCE = 250.0  # r_pi, ohms
PI_CAPACITANCE = 30e-12  # C_pi, farads
FIRST_MHZ, LAST_MHZ, STEP_MHZ = 100.0, 500.0, 2.0
REFERENCE_OHMS = 50.0


def input_impedance(hertz):
    """The model's impedance at each frequency in hertz."""
    w = 2.0 * np.pi * hertz
    intrinsic = PI_RESISTANCE / (1.0 + 1j * w * PI_RESISTANCE * PI_CAPACITANCE)
    return BASE_RESISTANCE + 1j * w * LEAD_INDUCTANCE + intrinsic


def touchstone():
    """The whole file: the model in comment lines, then Z / 50 ohms as real and imaginary."""
    points = int(round((LAST_MHZ - FIRST_MHZ) / STEP_MHZ)) + 1
    mhz = np.linspace(FIRST_MHZ, LAST_MHZ, points)
    z = input_impedance(mhz * 1e6) / REFERENCE_OHMS
    lines = [
        "! Input impedance of a small-signal bipolar transistor stage (hybrid-pi model),",
        "! written by scripts/make_amplifier_s1p.py from this circuit:",
        "!   Z(f) = rb + j w Lb + r_pi / (1 + j w r_pi C_pi),  w = 2 pi f",
        f"! model: rb={BASE_RESISTANCE:g} ohm, Lb={LEAD_INDUCTANCE * 1e9:g} nH, "
        f"r_pi={PI_RESISTANCE:g} ohm, C_pi={PI_CAPACITANCE * 1e12:g} pF",
        f"! {points} frequencies {FIRST_MHZ:g} to {LAST_MHZ:g} MHz in {STEP_MHZ:g} MHz steps",
        "! data: Z / 50 ohm",
        "# MHZ Z RI R 50",
    ]
    lines += [f"{f:.10e} {v.real:.10e} {v.imag:.10e}" for f, v in zip(mhz, z)]
    return "\n".join(lines) + "\n"


def main(arguments):
    if len(arguments) > 1:
        sys.exit("usage: make_amplifier_s1p.py [FILE]")
    text = touchstone()
    if arguments:
        with open(arguments[0], "w", encoding="ascii") as out:
            out.write(text)
    else:
        sys.stdout.write(text)


if __name__ == "__main__":
    main(sys.argv[1:])
