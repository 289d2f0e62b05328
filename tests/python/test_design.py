"""design() against the console program's golden sessions (tests/data/runN: the answers typed,
the reports written on Mon Mar 01 2027 09:05:07), and its refusals worded as the dialogue's."""

import csv
import datetime
import math
import re

import pytest

import bandmatch
from conftest import GOLDEN, GOLDEN_DATE

LOAD_WORDS = {"s": "series", "p": "parallel"}


def golden_design(run):
    """The design of a golden session, from its answer words as the dialogue takes them."""
    name, n, method, load, f1, f2, *answers = (GOLDEN / run / "answers.txt").read_text().split()
    arguments = dict(name=name, load=LOAD_WORDS[load], f1=float(f1) * 1e6, f2=float(f2) * 1e6)
    if method == "d":
        arguments.update(decrement=float(answers[0]), resistance=float(answers[1]))
    elif method == "q":
        arguments.update(q=float(answers[0]), resistance=float(answers[1]))
    else:
        level, bandwidth, delta = map(float, answers[:3])
        arguments.update(resistance=level, slope=(bandwidth * 1e6, delta))
    return bandmatch.design(int(n), **arguments)


def printed_tolerance(text):
    """Half a unit of the last digit the report printed."""
    mantissa, _, exponent = text.partition("e")
    decimals = len(mantissa.partition(".")[2])
    return 0.5 * 10.0 ** (int(exponent or 0) - decimals) * (1 + 1e-9)


# Each figure row of the CSV report (its label with blanks collapsed) and the record's value in
# the report's units.
FIGURES = {
    "N =": lambda d: d.n,
    "Low Frequency (f1) (MHz) =": lambda d: d.f1 / 1e6,
    "High Frequency (f2) (MHz) =": lambda d: d.f2 / 1e6,
    "Load Decrement =": lambda d: d.decrement,
    "Load Q =": lambda d: d.load_q,
    "average resistance (ohms) =": lambda d: d.resistance,
    "average conductance (Siemens) =": lambda d: d.resistance,
    "delta bandwidth (MHz) =": lambda d: d.delta_bandwidth / 1e6,
    "delta reactance (ohms) =": lambda d: d.delta,
    "delta susceptance (Siemens) =": lambda d: d.delta,
    "Center Frequency (f0) (MHz) =": lambda d: d.f0 / 1e6,
    "Match Bandwidth (f2-f1) (MHz) =": lambda d: d.match_bandwidth / 1e6,
    "Fractional Match Bandwidth ((f2-f1)/f0) (wm) =": lambda d: d.wm,
    "Reactance Slope Parameter =": lambda d: d.slope_parameter,
    "Susceptance Slope Parameter =": lambda d: d.slope_parameter,
    "FV =": lambda d: d.fv,
    "IT (iterations in Newton - Raphson Solution) =": lambda d: d.it,
    "A =": lambda d: d.a,
    "B =": lambda d: d.b,
    "Magnitude of Reflection Coefficient Min =": lambda d: d.rho_min,
    "Magnitude of Reflection Coefficient Max =": lambda d: d.rho_max,
    "Mismatch Loss Min (dB) =": lambda d: d.mismatch_loss_min,
    "Mismatch Loss Max (dB) =": lambda d: d.mismatch_loss_max,
    "Return Loss Min (dB) =": lambda d: d.return_loss_min,
    "Return Loss Max (dB) =": lambda d: d.return_loss_max,
    "SWR Min =": lambda d: d.swr_min,
    "SWR Max =": lambda d: d.swr_max,
    "Load Resistance (ohms) =": lambda d: d.load_resistance,
    "Source Resistance (ohms) =": lambda d: d.source_resistance,
}
INDEXED = re.compile(r"([GLC])\((\d+)\)")


def record_figure(design, label):
    indexed = INDEXED.match(label)
    if indexed:
        letter, index = indexed.group(1), int(indexed.group(2))
        if letter == "G":
            return design.g[index]
        return (design.inductance if letter == "L" else design.capacitance)[index - 1]
    return FIGURES[label](design)


@pytest.mark.parametrize("run", ["run1", "run2", "run3"])
def test_golden_reports_come_back_byte_for_byte_and_figure_for_figure(run):
    design = golden_design(run)
    date = datetime.datetime(*GOLDEN_DATE)
    assert design.report_text(date) == (GOLDEN / run / f"{run}.txt").read_bytes()
    assert design.report_csv(date) == (GOLDEN / run / f"{run}.csv").read_bytes()

    compared = 0
    with open(GOLDEN / run / f"{run}.csv", newline="") as report:
        for row in csv.reader(report):
            # The credits, headings, file names and the method and load letters hold no figure.
            if len(row) != 2 or row[1].endswith((".txt", ".csv")) or len(row[0].strip()) == 1:
                continue
            label, text = " ".join(row[0].split()), row[1]
            assert record_figure(design, label) == pytest.approx(
                float(text), rel=0, abs=printed_tolerance(text)), label
            compared += 1
    # Inputs, Output Part 1 and 2, the prototype values and the element values.
    assert compared >= 24 + 3 * design.n


def test_report_date_is_the_datetime_given_or_now():
    design = golden_design("run1")
    leap_day = design.report_text(datetime.datetime(2028, 2, 29, 23, 59, 58)).decode()
    assert "Current local date and time: Tue Feb 29 2028 23:59:58\n" in leap_day
    before = datetime.datetime.now().replace(microsecond=0)
    stamp = re.search(r"date and time: (.{24})", design.report_csv().decode()).group(1)
    after = datetime.datetime.now()
    assert before <= datetime.datetime.strptime(stamp, "%a %b %d %Y %H:%M:%S") <= after


SERIES = dict(load="series", f1=10e6, f2=20e6, resistance=50.0)

# Each refused answer and the dialogue's reason for it, worded as the README's table of limits
# and the reasons the dialogue gives at a terminal.
REFUSED = [
    (dict(n=0, decrement=1), "n: not a whole number from 1 to 10"),
    (dict(n=11, decrement=1), "n: not a whole number from 1 to 10"),
    (dict(n=10**30, decrement=1), "n: not a whole number from 1 to 10"),
    (dict(name="two words", decrement=1), "name: not one word"),
    (dict(name="", decrement=1), "name: not one word"),
    (dict(decrement=1, q=2), "give exactly one of decrement (method d), q (method q) and slope"),
    (dict(), "give exactly one of decrement"),
    (dict(load="Series", decrement=1), "load: answer series or parallel"),
    (dict(f1=1.0, decrement=1), "f1: not a number above 0.000001 and below 1000000.000000 MHz"),
    (dict(f1=1e12, f2=2e12, decrement=1),
     "f1: not a number above 0.000001 and below 1000000.000000 MHz"),
    (dict(f2=10e6, decrement=1), "f2: not a number above 10.000000 and below 1000000.000000 MHz"),
    (dict(f2=math.inf, decrement=1),
     "f2: not a number above 10.000000 and below 1000000.000000 MHz"),
    (dict(decrement=0.009), "decrement: not a number from 0.010 to 20.000"),
    (dict(decrement=20.001), "decrement: not a number from 0.010 to 20.000"),
    (dict(decrement=math.nan), "decrement: not a number from 0.010 to 20.000"),
    (dict(q=0.0332), "q: not a number from 0.03330 to 300.00000"),
    (dict(decrement=1, resistance=0.0), "resistance: not a number above 0 and at most 1000000"),
    (dict(decrement=1, resistance=1000000.5),
     "resistance: not a number above 0 and at most 1000000"),
    (dict(decrement=1, load="parallel", resistance=-0.02),
     "conductance: not a number above 0 and at most 1000000"),
    (dict(slope=(2e6, 40.0), resistance=0.0),
     "resistance: not a number above 0.000000 and at most 1000000.000000"),
    (dict(slope=(10.01e6, 40.0)),
     "slope's delta bandwidth: not a number above 0.000000 and at most 10.000000 MHz"),
    (dict(slope=(0.0, 40.0)),
     "slope's delta bandwidth: not a number above 0.000000 and at most 10.000000 MHz"),
    (dict(slope=(2e6, -40.0)),
     "slope's delta reactance: not a number above 0.000000 and at most 1000000.000000"),
    (dict(slope=(2e6, 0.0), load="parallel", resistance=0.02),
     "slope's delta susceptance: not a number above 0.000000 and at most 1000000.000000"),
]


@pytest.mark.parametrize("changes, reason", REFUSED)
def test_refuses_what_the_dialogue_refuses_with_its_reason(changes, reason):
    arguments = dict(SERIES, n=3, **{k: v for k, v in changes.items() if k != "n"})
    arguments["n"] = changes.get("n", 3)
    with pytest.raises(ValueError) as refusal:
        bandmatch.design(arguments.pop("n"), **arguments)
    assert str(refusal.value).startswith(reason)


def test_takes_the_bounds_the_dialogue_takes():
    # Every bound the README's table includes is a design; the band's edges are excluded.
    for changes in [dict(n=1, decrement=0.01), dict(n=10, decrement=20.0), dict(n=3, q=0.0333),
                    dict(n=3, q=300.0), dict(n=3, decrement=1, resistance=1000000.0),
                    dict(n=3, slope=(10e6, 1000000.0))]:
        n = changes.pop("n")
        assert bandmatch.design(n, **dict(SERIES, **changes)).n == n
    # The delta bandwidth as the prompt shows it, 7.3 - 7 MHz, although 7.3 - 7 is not 0.3.
    assert bandmatch.design(2, "series", 7e6, 7.3e6, slope=(0.3e6, 10.0), resistance=50).n == 2


WRONG_TYPES = [
    ((3.0, "series", 10e6, 20e6), dict(decrement=1, resistance=50)),
    ((True, "series", 10e6, 20e6), dict(decrement=1, resistance=50)),
    (("3", "series", 10e6, 20e6), dict(decrement=1, resistance=50)),
    ((3, "series", "10e6", 20e6), dict(decrement=1, resistance=50)),
    ((3, 1, 10e6, 20e6), dict(decrement=1, resistance=50)),
    ((3, "series", 10e6, 20e6), dict(decrement="1", resistance=50)),
    ((3, "series", 10e6, 20e6), dict(slope=(1e6,), resistance=50)),
    ((3, "series", 10e6, 20e6), dict(decrement=1)),
]


@pytest.mark.parametrize("positional, keywords", WRONG_TYPES)
def test_wrong_types_raise_type_error(positional, keywords):
    with pytest.raises(TypeError):
        bandmatch.design(*positional, **keywords)


def test_records_are_read_only():
    design = golden_design("run1")
    for attribute, value in [("rho_max", 0.0), ("n", 4), ("anything", 1)]:
        with pytest.raises(AttributeError):
            setattr(design, attribute, value)
    with pytest.raises(TypeError):
        design.report_text("Mon Mar 01 2027 09:05:07")
    table = bandmatch.best_match_table(design.decrement)
    assert [row.n for row in table] == list(range(1, 11)) + [None]
    # Fano's bound exp(-pi decrement) for infinitely many resonators.
    assert table[-1].rho_max == pytest.approx(math.exp(-math.pi * design.decrement), rel=1e-15)
    assert table[2].rho_max == design.rho_max
