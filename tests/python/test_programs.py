"""The package against the real companion programs run on the same files: the fit, build,
tuning and tolerance figures must be the ones the programs print for the same options."""

import re

import pytest

import bandmatch
from conftest import DIPOLE, program, run


@pytest.fixture(scope="module")
def antenna(tmp_path_factory):
    """The dipole fitted over 3.5 to 4.0 MHz, designed with N = 3 by the real programs; the
    folder holding ant.csv, and the package's fit and design."""
    folder = tmp_path_factory.mktemp("antenna")
    answers = run([program("bandmatch-fit"), str(DIPOLE), "3.5", "4.0", "--answers", "3",
                   "--name", "ant"], cwd=folder)
    run([program("bandmatch")], cwd=folder, stdin=answers)
    fit = bandmatch.fit_load(bandmatch.read_touchstone(DIPOLE), 3.5e6, 4.0e6)
    assert fit.answers(3, "ant") == tuple(answers.split())
    return folder, fit, fit.design(3, name="ant")


def without_times(text):
    return re.sub(r"; [0-9.]+ ms", "", text)


def test_fit_is_bandmatch_fits(antenna):
    folder, fit, design = antenna
    printed = run([program("bandmatch-fit"), str(DIPOLE), "3.5", "4.0"], cwd=folder)
    assert fit.report() == printed
    # The design the answers give is the console program's, to the byte.
    assert design.report_csv().split(b"Inputs:")[1] == (folder / "ant.csv").read_bytes().split(b"Inputs:")[1]
    assert bandmatch.read_report(folder / "ant.csv").rho_max == design.report().rho_max
    table = run([program("bandmatch-fit"), "--decrement", "0.685"], cwd=folder)
    for row in bandmatch.best_match_table(0.685):
        n = "inf" if row.n is None else str(row.n)
        line = next(line for line in table.splitlines() if line.split()[:1] == [n])
        assert float(line.split()[2]) == pytest.approx(row.rho_max, rel=1e-6)


def test_build_figures_are_the_exporters(antenna):
    folder, fit, design = antenna
    options = ["--source-ohms", "50", "--series", "E24", "--q-inductor", "100",
               "--q-capacitor", "500", "--load", str(DIPOLE)]
    printed = run([program("bandmatch-export"), "ant.csv", *options], cwd=folder)
    networks = bandmatch.build(design, source_ohms=50, series="E24", q_inductor=100,
                               q_capacitor=500, load=bandmatch.read_touchstone(DIPOLE))
    for network in networks:
        row = next(line for line in printed.splitlines() if line.startswith(network.label + "  "))
        worst, swr = (float(cell) for cell in row[len(network.label):].split()[:2])
        assert network.figures.worst_gamma == pytest.approx(worst, abs=5e-7)
        assert network.figures.worst_swr == pytest.approx(swr, abs=5e-5)
    measured = re.search(r"on the measured load: min (\S+), max (\S+),", printed)
    figures = networks[-1].figures_on_load
    assert figures.best_gamma == pytest.approx(float(measured.group(1)), rel=1e-6)
    assert figures.worst_gamma == pytest.approx(float(measured.group(2)), rel=1e-6)
    built = re.search(r"retuned by series inductor \(H\) \S+, built as (\S+)", printed).group(1)
    assert networks[-1].retuning.value_henries == pytest.approx(float(built), rel=1e-9)
    assert networks[-1].turns_ratio == pytest.approx((design.source_resistance / 50) ** 0.5,
                                                     rel=1e-9)


TUNINGS = [
    (dict(load=DIPOLE, tune_retuning=True, range=30),
     ["--load", str(DIPOLE), "--tune-retuning", "--range", "30"]),
    (dict(series="E24", source_ohms=50), ["--series", "E24", "--source-ohms", "50"]),
]


@pytest.mark.parametrize("options, words", TUNINGS)
def test_tuning_is_bandmatch_tunes(antenna, options, words):
    folder, fit, design = antenna
    printed = run([program("bandmatch-tune"), "ant.csv", *words], cwd=folder)
    if "load" in options:
        options = dict(options, load=bandmatch.read_touchstone(options["load"]))
    tuning = bandmatch.tune(design, **options)
    assert without_times(tuning.summary) in without_times(printed)
    assert len(tuning.networks) == (4 if "series" in options else 2)
    assert tuning.tuned_worst < tuning.untuned_worst


def test_tolerance_is_the_exporters(antenna):
    folder, fit, design = antenna
    printed = run([program("bandmatch-export"), "ant.csv", "--tolerance-l", "5",
                   "--tolerance-c", "2", "--trials", "300", "--seed", "7", "--goal-swr", "2.5",
                   "--load", str(DIPOLE)], cwd=folder)
    network = bandmatch.build(design, load=bandmatch.read_touchstone(DIPOLE))[-1]
    trials = bandmatch.tolerance(network, tolerance_l=5, tolerance_c=2, trials=300, seed=7,
                                 goal_swr=2.5)
    assert trials.summary in printed
    assert re.search(r"Yield: ([0-9.]+) %", printed).group(1) == f"{100 * trials.yield_share:.1f}"
    assert trials.passing == sum(swr <= 2.5 for swr in trials.worst_swr)
    median = re.search(r"trials: ([0-9.]+) \(50th", printed).group(1)
    assert f"{trials.percentile(50):.4f}" == median
    assert [s.part for s in trials.sensitivities][:1] == [
        re.search(r"largest first:\npart .*\n(\S+)", printed).group(1)]


@pytest.mark.parametrize("ends, options, arguments", [
    ((50, "parallel:R=200,C=5p"), dict(max_parts=3), ["--max-parts", "3"]),
    ((50, "DIPOLE"), dict(topology="X pLC sL|C pC", series="E24", q_inductor=200),
     ["--topology", "X pLC sL|C pC", "--series", "E24", "--q-inductor", "200"]),
])
def test_search_is_bandmatch_searchs(tmp_path, ends, options, arguments):
    """The same ranking, limit and Best line as the program prints (its time aside), the load
    a model or the dipole's data."""
    source, load = ends
    band = (3.5, 4.0) if load == "DIPOLE" else (100.0, 300.0)
    data = bandmatch.read_touchstone(DIPOLE) if load == "DIPOLE" else load
    found = bandmatch.search(source, data, band[0] * 1e6, band[1] * 1e6, **options)
    printed = run([program("bandmatch-search"), str(source),
                   str(DIPOLE) if load == "DIPOLE" else load, str(band[0]), str(band[1]),
                   *arguments], cwd=tmp_path)
    lines = [line for line in printed.splitlines() if not line.startswith("Wrote ")]
    untimed = [re.sub(r" in [0-9.]+ s$", "", line) for line in lines]
    mine = [re.sub(r" in [0-9.]+ s$", "", line) for line in found.summary.splitlines()]
    # The data's name is the program's file name and the package's "measured data".
    assert mine[2:] == untimed[2:]
    assert untimed[-1] == (f"Best: {found.best.topology} worst |Gamma| "
                           f"{found.best.worst_gamma:.6f} worst gain {found.best.worst_gain_db:.4f} dB")
    with pytest.raises(ValueError, match="max_parts"):
        bandmatch.search(source, data, band[0] * 1e6, band[1] * 1e6, max_parts=0)
