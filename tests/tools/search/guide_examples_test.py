#!/usr/bin/python3
"""The two worked examples of docs/bandmatch-search.md, run as the page writes them, against
ngspice (the independent simulator) on the netlists they write.

The page's ends are Touchstone files, and a netlist holds a measured end as the series or
parallel R-L-C fitted to it, so ngspice cannot see the data themselves. For each example the
search is therefore run a second time with the same topology and options and the fitted model
of the first netlist typed as the end (series:R=..,L=..,C=..): ngspice simulates that run's
netlist on a logarithmic grid of 20000 points per decade over the band and at both edges, and
the least transducer gain it finds must be the printed worst gain to 1e-4 dB (the printed
figure has four decimals).

The amplifier's data come from a stated circuit (scripts/make_amplifier_s1p.py), which ngspice
can simulate itself: its source chain in the page's netlist is replaced by that circuit, and at
the frequencies where the search judges measured data (every data point inside the band and the
two edges) ngspice's least gain must be the page's printed worst gain to 1e-4 dB.

Usage: guide_examples_test.py BANDMATCH_SEARCH REPOSITORY   (exit 77: skipped)
"""

import math
import os
import re
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

SKIPPED = 77
DECADE_POINTS = 20000
TOLERANCE_DB = 1e-4
SEARCH = "./build/bandmatch-search"


def fail(message):
    print(f"FAIL: {message}")
    sys.exit(1)


def page_commands(page):
    """The page's search commands that write files, continuation lines joined."""
    text = page.read_text().replace("\\\n", " ")
    blocks = re.findall(r"```sh\n(.*?)```", text, re.S)
    lines = [line.strip() for block in blocks for line in block.splitlines()]
    return [re.sub(r"\s+", " ", line) for line in lines
            if line.startswith(SEARCH) and " --out " in line]


def run_search(command, work):
    done = subprocess.run(["bash", "-c", command], cwd=work, capture_output=True, text=True,
                          timeout=600)
    if done.returncode != 0 or done.stderr:
        fail(f"{command}: status {done.returncode}: {done.stderr}")
    best = re.search(r"^Best: .* worst gain (\S+) dB$", done.stdout, re.M)
    if not best:
        fail(f"{command}: no Best line in\n{done.stdout}")
    base = re.search(r" --out (\S+)", command).group(1)
    return float(best.group(1)), work / f"{base}.cir"


def fitted_end(netlist, role):
    """The model the netlist gives the source or the load, as an end typed on the command line."""
    kind = re.search(rf"^\* {role}: (series|parallel) R-L-C:", netlist, re.M)
    if not kind:
        fail(f"the netlist holds no R-L-C model of the {role}:\n{netlist}")
    items = [f"{letter}={value}" for letter in "RLC"
             for value in re.findall(rf"^{letter}{role.upper()} \S+ \S+ (\S+)$", netlist, re.M)]
    return f"{kind.group(1)}:{','.join(items)}"


def least_gain_db(netlist, analyses, f1, f2):
    """ngspice's least transducer gain in dB over the given AC analyses of the netlist, at the
    frequencies inside the band (a decade sweep may step past its stop frequency)."""
    body, control = netlist.split("\n.ac ", 1) if "\n.ac " in netlist else netlist.split(
        "\n* Each of the two points", 1)
    measures = [line for line in control.splitlines() if line.startswith(("let ", "set width"))]
    deck = [body, ".control", "set numdgt=16", "set nobreak"]
    for analysis in analyses:
        deck += [analysis] + measures + ["print col gain"]
    deck += ["quit", ".endc", ".end", ""]
    with tempfile.TemporaryDirectory() as folder:
        path = Path(folder) / "check.cir"
        path.write_text("\n".join(deck))
        done = subprocess.run(["ngspice", "-b", str(path)], capture_output=True, text=True,
                              timeout=600)
    if done.returncode != 0 or re.search(r"error", done.stdout + done.stderr, re.I):
        fail(f"ngspice failed:\n{done.stdout}\n{done.stderr}")
    rows = re.findall(r"^\d+\s+(\S+)\s+(\S+)\s*$", done.stdout, re.M)
    gains = [float(gain) for hertz, gain in rows
             if f1 * 1e6 * (1 - 1e-12) <= float(hertz) <= f2 * 1e6 * (1 + 1e-12)]
    if not gains:
        fail(f"ngspice printed no gain:\n{done.stdout}")
    return 10.0 * math.log10(min(gains)), len(gains)


def band_of(command):
    words = command.split()
    return float(words[3]), float(words[4])


def fine_grid(f1, f2):
    return [f"ac dec {DECADE_POINTS} {f1 * 1e6:.12g} {f2 * 1e6:.12g}",
            f"ac lin 1 {f2 * 1e6:.12g} {f2 * 1e6:.12g}"]


def data_frequencies(s1p, f1, f2):
    """The data's frequencies inside the band, with both edges, one analysis each."""
    mhz = [float(line.split()[0]) for line in s1p.read_text().splitlines()
           if line.strip() and line[0] not in "!#"]
    inside = sorted({f1, f2, *[f for f in mhz if f1 <= f <= f2]})
    return [f"ac lin 1 {f * 1e6:.12g} {f * 1e6:.12g}" for f in inside]


def hybrid_pi_source(netlist, s1p):
    """The netlist with its source chain replaced by the circuit the data file states."""
    stated = re.search(r"^! model: rb=(\S+) ohm, Lb=(\S+) nH, r_pi=(\S+) ohm, C_pi=(\S+) pF$",
                       s1p.read_text(), re.M)
    if not stated:
        fail(f"{s1p} states no model")
    rb, lb, rpi, cpi = stated.groups()
    kept = [line for line in netlist.splitlines() if not re.match(r"^[RLC]SOURCE ", line)]
    at = kept.index("VSOURCE src 0 DC 0 AC 2") + 1
    circuit = [f"RB src b1 {rb}", f"LB b1 b2 {lb}n", f"RPI b2 in {rpi}", f"CPI b2 in {cpi}p"]
    return "\n".join(kept[:at] + circuit + kept[at:]) + "\n"


def main(arguments):
    search, repository = Path(arguments[0]).resolve(), Path(arguments[1]).resolve()
    if not shutil.which("ngspice"):
        if os.environ.get("CI") == "true":
            fail("ngspice is not installed")
        print("SKIPPED: ngspice is not installed (Debian package ngspice)")
        return SKIPPED
    usage = subprocess.run([str(search), "--help"], capture_output=True, text=True).stdout
    if "--substrate" not in usage:
        print("SKIPPED: this bandmatch-search writes no network files (--out, --substrate)")
        return SKIPPED
    commands = page_commands(repository / "docs" / "bandmatch-search.md")
    # The two worked examples: which end is a data file, and the check of the stated circuit.
    cases = [
        {"name": "UHF whip with lines and stubs", "file": "examples/monopole-uhf.s1p",
         "role": "load", "stated circuit": False},
        {"name": "amplifier input with lumped parts", "file": "examples/amplifier-input.s1p",
         "role": "source", "stated circuit": True},
    ]
    with tempfile.TemporaryDirectory() as folder:
        work = Path(folder)
        (work / "examples").symlink_to(repository / "examples")
        (work / "build").symlink_to(search.parent)
        (work / "scratch").mkdir()
        for case in cases:
            found = [c for c in commands
                     if f" {case['file']} " in c and " --topology " in c and "$" not in c]
            if len(found) != 1:
                fail(f"{case['name']}: the page has {len(found)} commands on {case['file']}")
            command = found[0]
            f1, f2 = band_of(command)
            printed, netlist_path = run_search(command, work)
            netlist = netlist_path.read_text()

            model = fitted_end(netlist, case["role"])
            again = command.replace(f" {case['file']} ", f" {model} ").replace(
                " --out scratch/", " --out scratch/model-")
            model_printed, model_netlist = run_search(again, work)
            simulated, points = least_gain_db(model_netlist.read_text(), fine_grid(f1, f2),
                                              f1, f2)
            print(f"{case['name']}: fitted {case['role']} {model}: printed {model_printed:.4f} dB,"
                  f" ngspice {simulated:.6f} dB on {points} points")
            if abs(simulated - model_printed) > TOLERANCE_DB:
                fail(f"{case['name']}: ngspice finds {simulated:.6f} dB on the fitted model, "
                     f"the search printed {model_printed:.4f} dB")

            if case["stated circuit"]:
                s1p = repository / case["file"]
                circuit = hybrid_pi_source(netlist, s1p)
                simulated, points = least_gain_db(circuit, data_frequencies(s1p, f1, f2), f1, f2)
                print(f"{case['name']}: stated circuit: printed {printed:.4f} dB, "
                      f"ngspice {simulated:.6f} dB at {points} frequencies")
                if abs(simulated - printed) > TOLERANCE_DB:
                    fail(f"{case['name']}: ngspice finds {simulated:.6f} dB on the stated "
                         f"circuit, the page's search printed {printed:.4f} dB")
    print("guide examples against ngspice: ok")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
