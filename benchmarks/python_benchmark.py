"""Timing of the Python package, run by hand (not in CI):

    PYTHONPATH=build/python /usr/bin/python3 benchmarks/python_benchmark.py [BUILD]

design() called 100,000 times for the 10-resonator design of the synthesis benchmark (target:
under 1 s), with the solver and the whole synthesis alone as Google Benchmark times them in
BUILD/synthesis_benchmark (when built) and the call overhead the rest; and response() of a
10-resonator network at 100,001 frequencies (target: under 20 ms). Each figure is the best of
five runs.
"""

import subprocess
import sys
import time
from pathlib import Path

import numpy as np

import bandmatch

CALLS = 100_000
POINTS = 100_001
RUNS = 5
# The design of benchmarks/synthesis_benchmark.cpp: N = 10, 10 to 20 MHz, decrement 1, 50 ohms.
ARGUMENTS = dict(load="series", f1=10e6, f2=20e6, decrement=1.0, resistance=50.0)


def best_of(work):
    """The shortest of RUNS timings of `work`, in seconds."""
    timings = []
    for _ in range(RUNS):
        start = time.perf_counter()
        work()
        timings.append(time.perf_counter() - start)
    return min(timings)


def designs():
    design = bandmatch.design
    for _ in range(CALLS):
        design(10, **ARGUMENTS)


def refusals():
    """The same call refused at its first check: the price of the call itself, less the work."""
    design = bandmatch.design
    for _ in range(CALLS):
        try:
            design(0, **ARGUMENTS)
        except ValueError:
            pass


def synthesis_nanoseconds(build):
    """The solver alone and the whole synthesis per design, from the C++ benchmark."""
    program = Path(build) / "synthesis_benchmark"
    if not program.exists():
        return None
    output = subprocess.run([str(program), "--benchmark_format=csv"], capture_output=True,
                            text=True, check=True).stdout
    times = {}
    for line in output.splitlines():
        cells = line.split(",")
        if cells[0].strip('"') in ("solveFanoTenElements", "synthesizeTenElementDesign"):
            times[cells[0].strip('"')] = float(cells[3])  # real_time, in ns
    return times


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build"
    total = best_of(designs)
    print(f"design() x {CALLS}: {total:.3f} s, {1e6 * total / CALLS:.2f} us a call (target < 1 s)")
    refused = best_of(refusals)
    print(f"design() refused at n, x {CALLS}: {refused:.3f} s, {1e6 * refused / CALLS:.2f} us a call")
    times = synthesis_nanoseconds(build)
    if times:
        solver = times["solveFanoTenElements"] / 1e3
        synthesis = times["synthesizeTenElementDesign"] / 1e3
        print(f"  the solver alone: {solver:.2f} us; the whole synthesis: {synthesis:.2f} us; "
              f"the rest of a call (checks, conversions, the record): "
              f"{1e6 * total / CALLS - synthesis:.2f} us")
    else:
        print(f"  ({build}/synthesis_benchmark is not built: no solver time)")

    design = bandmatch.design(10, **ARGUMENTS)
    network = bandmatch.build(design)[-1]
    frequencies = np.linspace(5e6, 40e6, POINTS)
    seconds = best_of(lambda: bandmatch.response(network, frequencies))
    print(f"response() of N = 10 at {POINTS} frequencies: {1e3 * seconds:.1f} ms (target < 20 ms)")


if __name__ == "__main__":
    main()
