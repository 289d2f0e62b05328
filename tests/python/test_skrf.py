"""scikit-rf as the independent reader and client: read_touchstone against scikit-rf's reading
of the shipped dipole and of scikit-rf's own one-port files, a scikit-rf network taken wherever a
measured load is, and to_skrf against the Touchstone files bandmatch-export writes."""

import glob
import os
from pathlib import Path

import numpy as np
import pytest
import skrf

import bandmatch
from conftest import DIPOLE, program, run


def skrf_impedance(network):
    """Z of a scikit-rf one-port from its s-parameters and real reference impedance."""
    s, z0 = network.s[:, 0, 0], network.z0[:, 0].real
    return z0 * (1 + s) / (1 - s)


def skrf_one_ports():
    """scikit-rf's shipped one-port files whose data are referenced to the option line's R, as
    the Touchstone format has it (files exported with per-frequency port impedances in comments
    are read otherwise by scikit-rf, and are left out)."""
    folder = Path(skrf.__file__).parent
    for path in sorted(glob.glob(str(folder / "**" / "*.s1p"), recursive=True)):
        network = skrf.Network(path)
        if np.all(network.z0 == float(skrf.io.touchstone.Touchstone(path).resistance)):
            yield path, network


def test_reads_the_dipole_as_scikit_rf_parses_it():
    # scikit-rf 0.15 turns only S-parameter files into networks; its Touchstone parser reads
    # the dipole's option line and columns, and version 1 Z data are normalized to R.
    parsed = skrf.io.touchstone.Touchstone(str(DIPOLE))
    assert (parsed.parameter, parsed.format, float(parsed.resistance)) == ("z", "ri", 50)
    columns = parsed.sparameters
    load = bandmatch.read_touchstone(DIPOLE)
    np.testing.assert_allclose(load.frequencies, columns[:, 0] * parsed.frequency_mult, rtol=1e-15)
    np.testing.assert_allclose(load.impedance, 50 * (columns[:, 1] + 1j * columns[:, 2]),
                               rtol=1e-15)
    assert load.name == str(DIPOLE)
    assert bandmatch.read_touchstone(DIPOLE.read_bytes()).impedance.tolist() == load.impedance.tolist()


def test_reads_scikit_rfs_own_one_ports_as_it_does():
    compared = 0
    for path, network in skrf_one_ports():
        try:
            load = bandmatch.read_touchstone(path)
        except ValueError as refusal:
            # A point of S = 1 is an open circuit, which no impedance describes.
            assert "is an open circuit" in str(refusal)
            assert np.any(network.s[:, 0, 0] == 1)
            continue
        np.testing.assert_allclose(load.frequencies, network.f, rtol=1e-15, err_msg=path)
        np.testing.assert_allclose(load.impedance, skrf_impedance(network), rtol=1e-9, atol=1e-9,
                                   err_msg=path)
        compared += 1
    assert compared >= 10


def test_a_scikit_rf_one_port_is_a_measured_load():
    load = bandmatch.read_touchstone(DIPOLE)
    as_skrf = skrf.Network(frequency=skrf.Frequency.from_f(load.frequencies, unit="hz"),
                           s=((load.impedance - 50) / (load.impedance + 50)).reshape(-1, 1, 1),
                           z0=50, name="dipole")
    ours, theirs = (bandmatch.fit_load(data, 3.5e6, 4.0e6) for data in (load, as_skrf))
    assert theirs.model == ours.model
    assert theirs.decrement == pytest.approx(ours.decrement, rel=1e-9)
    design = ours.design(3, name="ant")
    assert (bandmatch.tune(design, load=as_skrf).tuned_worst ==
            pytest.approx(bandmatch.tune(design, load=load).tuned_worst, rel=1e-6))
    with pytest.raises(ValueError, match="a one-port network is needed, found 2 ports"):
        bandmatch.fit_load(skrf.Network(s=np.zeros((3, 2, 2)), f=[1, 2, 3], z0=50), 1e9, 2e9)


# Designs exported by the real program, each with the exporter's options and the same build.
EXPORTS = [
    ("run1", dict(), []),
    ("run1", dict(source_ohms=50, series="E24", q_inductor=100, q_capacitor=500),
     ["--source-ohms", "50", "--series", "E24", "--q-inductor", "100", "--q-capacitor", "500"]),
    ("ant", dict(load=DIPOLE, series="E12"), ["--load", str(DIPOLE), "--series", "E12"]),
]


@pytest.mark.parametrize("name, options, words", EXPORTS)
def test_to_skrf_agrees_with_the_exporters_touchstone_file(tmp_path, name, options, words):
    if name == "ant":
        design = bandmatch.fit_load(bandmatch.read_touchstone(DIPOLE), 3.5e6, 4e6).design(3, name=name)
        options = dict(options, load=bandmatch.read_touchstone(options["load"]))
    else:
        design = bandmatch.design(3, "series", 10e6, 20e6, decrement=1, resistance=50, name=name)
    (tmp_path / f"{name}.csv").write_bytes(design.report_csv())
    run([program("bandmatch-export"), f"{name}.csv", *words], cwd=tmp_path)
    exported = skrf.Network(str(tmp_path / f"{name}.s1p"))

    network = bandmatch.build(design, **options)[-1]
    ours = bandmatch.to_skrf(network, exported.f)
    np.testing.assert_allclose(ours.f, exported.f, rtol=1e-15)
    np.testing.assert_allclose(ours.z0, exported.z0, rtol=1e-15)
    assert np.max(np.abs(ours.s - exported.s)) <= 1e-9
    assert ours.name == network.label


def test_to_skrf_says_what_to_install_without_scikit_rf(monkeypatch):
    monkeypatch.setitem(__import__("sys").modules, "skrf", None)
    network = bandmatch.design(1, "series", 10e6, 20e6, decrement=1, resistance=50).report().network
    with pytest.raises(ImportError, match="python3-scikit-rf"):
        bandmatch.to_skrf(network, [15e6])
