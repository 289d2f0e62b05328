"""Bad arguments to every function raise ValueError with the program's reason or TypeError, and
the fuzzers' inputs (fuzz/corpus) fed through the package never bring the interpreter down."""

import math
from pathlib import Path

import numpy as np
import pytest

import bandmatch
from conftest import DIPOLE, REPOSITORY

CORPUS = REPOSITORY / "fuzz" / "corpus"


@pytest.fixture(scope="module")
def made():
    design = bandmatch.design(3, "series", 10e6, 20e6, decrement=1, resistance=50, name="run1")
    load = bandmatch.read_touchstone(DIPOLE)
    return dict(design=design, network=bandmatch.build(design)[-1], load=load,
                fit=bandmatch.fit_load(load, 3.5e6, 4e6))


# Each call and the reason the program gives for the same option (bandmatch-fit,
# bandmatch-export, bandmatch-tune), with the argument named as the function names it.
REFUSED = [
    (lambda m: bandmatch.read_touchstone(b"# MHz S MA R 50\n3.5 0.1\n"),
     "line 2: the file ends inside this point, after 2 of its 3 values"),
    (lambda m: bandmatch.read_touchstone(b"# MHz Z RI R 50\n3.6 1 0\n3.5 1 0\n"),
     "line 3: frequencies not strictly increasing: 3.500000 MHz after 3.600000 MHz"),
    (lambda m: bandmatch.read_report(b"run1\n"), "not a bandmatch CSV report"),
    (lambda m: bandmatch.load_data([1e6, 2e6], [50, 50, 50]),
     "frequencies and impedances differ in number"),
    (lambda m: bandmatch.load_data([2e6, 1e6], [50, 50]),
     "frequencies not strictly increasing: 1.000000 MHz after 2.000000 MHz"),
    (lambda m: bandmatch.load_data([1e6, 2e6], [50, complex(math.inf, 0)]),
     "the value at 2.000000 MHz is an open circuit"),
    (lambda m: bandmatch.fit_load(m["load"], 0, 4e6), "f1: not a frequency above 0 Hz"),
    (lambda m: bandmatch.fit_load(m["load"], 4e6, 3.5e6), "f2: not a frequency above f1"),
    (lambda m: bandmatch.fit_load(m["load"], 3.5e6, 4e6, model="rlc"),
     "model: answer series, parallel or auto"),
    (lambda m: bandmatch.fit_load(m["load"], 2.5e6, 4e6),
     "examples/dipole-80m.s1p: line 12: the data start at 3.000000 MHz, above the band's lower "
     "edge f1 = 2.500000 MHz"),
    (lambda m: m["fit"].answers(11, "ant"), "n: not a whole number from 1 to 10"),
    (lambda m: m["fit"].design(3, name="a b"), "name: not one word"),
    (lambda m: bandmatch.best_match_table(0), "decrement: not a number above 0"),
    (lambda m: bandmatch.build(m["design"], source_ohms=0.0009),
     "source_ohms: not a number from 0.001 to 1000000.000"),
    (lambda m: bandmatch.build(m["design"], series="E6"),
     "series: answer E12, E24, E48, E96 or E192"),
    (lambda m: bandmatch.build(m["design"], q_inductor=0), "q_inductor: not a number above 0"),
    (lambda m: bandmatch.build(m["design"], q_capacitor=math.nan),
     "q_capacitor: not a number above 0"),
    (lambda m: bandmatch.build(m["design"], load=m["load"]),
     "examples/dipole-80m.s1p: line 312: the data end at 4.500000 MHz, below the band's upper "
     "edge f2 = 20.000000 MHz"),
    (lambda m: bandmatch.tune(m["design"], range=0), "range: not a number above 0 and at most 1000 %"),
    (lambda m: bandmatch.tune(m["design"], range=1001),
     "range: not a number above 0 and at most 1000 %"),
    (lambda m: bandmatch.tune(m["design"], tune_retuning=True),
     "tune_retuning needs a measured load (load)"),
    (lambda m: bandmatch.tolerance(m["network"]),
     "give a tolerance: tolerance, tolerance_l or tolerance_c"),
    (lambda m: bandmatch.tolerance(m["network"], tolerance=51),
     "tolerance: not a number from 0 to 50 %"),
    (lambda m: bandmatch.tolerance(m["network"], tolerance_c=-1),
     "tolerance_c: not a number from 0 to 50 %"),
    (lambda m: bandmatch.tolerance(m["network"], tolerance=5, trials=0),
     "trials: not a whole number from 1 to 1000000"),
    (lambda m: bandmatch.tolerance(m["network"], tolerance=5, seed=-1),
     "seed: not a whole number from 0 to 18446744073709551615"),
    (lambda m: bandmatch.tolerance(m["network"], tolerance=5, seed=2**64),
     "seed: not a whole number from 0 to 18446744073709551615"),
    (lambda m: bandmatch.tolerance(m["network"], tolerance=5, goal_swr=0.99),
     "goal_swr: not a number of 1 or more"),
    (lambda m: bandmatch.response(m["network"], [15e6, -1.0]),
     "frequencies: not a frequency above 0 Hz"),
    (lambda m: bandmatch.response(bandmatch.build(m["fit"].design(3), load=m["load"])[-1], [2e6]),
     "frequencies: 2.000000 MHz lies beyond the measured data, 3.000000 to 4.500000 MHz"),
]


@pytest.mark.parametrize("call, reason", REFUSED)
def test_refusals_carry_the_programs_reasons(made, call, reason):
    with pytest.raises(ValueError) as refusal:
        call(made)
    assert reason in str(refusal.value)


WRONG_TYPES = [
    lambda m: bandmatch.read_touchstone(3),
    lambda m: bandmatch.fit_load("examples/dipole-80m.s1p", 3.5e6, 4e6),
    lambda m: bandmatch.build(m["network"]),
    lambda m: bandmatch.build(m["design"], load=m["design"]),
    lambda m: bandmatch.tune("run1.csv"),
    lambda m: bandmatch.tolerance(m["design"], tolerance=5),
    lambda m: bandmatch.tolerance(m["network"], tolerance=5, trials=10.0),
    lambda m: bandmatch.response(m["design"], [15e6]),
    lambda m: bandmatch.response(m["network"], ["15 MHz"]),
    lambda m: m["fit"].answers(3.0, "ant"),
]


@pytest.mark.parametrize("call", WRONG_TYPES)
def test_wrong_types_raise_type_error(made, call):
    with pytest.raises(TypeError):
        call(made)


def number(word):
    """The word as a float where Python reads it as one, else the word itself (a wrong type)."""
    try:
        return float(word)
    except ValueError:
        return word


def survives(call, *arguments, **keywords):
    """Calls the package; a refusal is an answer too, only a crash is not."""
    try:
        return call(*arguments, **keywords)
    except (ValueError, TypeError):
        return None


def design_from_words(words):
    """One pass of the dialogue's answer words, given to design() as numbers where they are."""
    words = (words + ["1"] * 10)[:10]
    name, n, method, load = words[:4]
    arguments = dict(name=name, load={"s": "series", "p": "parallel"}.get(load[:1].lower(), load),
                     f1=number(words[4]), f2=number(words[5]))
    first, second, third = (number(word) for word in words[6:9])
    if method[:1].lower() == "l":
        arguments.update(resistance=first, slope=(second, third))
    else:
        arguments.update({"q" if method[:1].lower() == "q" else "decrement": first,
                          "resistance": second})
    for megahertz in ("f1", "f2"):
        if isinstance(arguments[megahertz], float):
            arguments[megahertz] *= 1e6
    return survives(bandmatch.design, int(n) if n.isdigit() else n, **arguments)


def corpus(folder):
    return sorted((CORPUS / folder).iterdir())


def test_the_fuzzers_inputs_never_bring_the_interpreter_down():
    designs = []
    for path in corpus("session") + corpus("reader"):
        words = path.read_bytes().decode("utf-8", "replace").split()
        for start in range(0, len(words)):
            designs.append(design_from_words(words[start:start + 10]))
    for path in corpus("web_form"):
        lines = path.read_text().split("\n") + [""] * 15
        designs.append(design_from_words(lines[:6] + [lines[6 if lines[2] != "q" else 7]] +
                                         lines[8:11]))
        if designs[-1] is not None:
            survives(bandmatch.build, designs[-1], source_ohms=number(lines[11]) or None,
                     series=lines[12] or None)
    made = [design for design in designs if design is not None]
    assert len(made) >= 5

    for path in corpus("touchstone"):
        text = path.read_bytes()
        for piece in (text, text[: len(text) // 2], text.replace(b"\n", b"\r\n"), text * 2):
            load = survives(bandmatch.read_touchstone, piece)
            if load is not None and len(load) > 1:
                fit = survives(bandmatch.fit_load, load, load.frequencies[0],
                               load.frequencies[-1])
                if fit is not None:
                    survives(fit.design, 2)
    for path in corpus("csv_report"):
        text = path.read_bytes()
        for piece in (text, text[: len(text) // 2], text.replace(b"1", b"9")):
            report = survives(bandmatch.read_report, piece)
            if report is not None:
                network = survives(bandmatch.build, report, series="E12")
                if network:
                    survives(bandmatch.response, network[-1], [report.f1, 1e300, math.nan])
                    survives(bandmatch.tolerance, network[-1], tolerance=50, trials=20)
                survives(bandmatch.tune, report, range=1000)
    for design in made[:8]:
        survives(bandmatch.tune, design, q_inductor=1e-300, q_capacitor=1e300)
        survives(bandmatch.response, design.report().network, np.array([[1e6, 0.0]]))
