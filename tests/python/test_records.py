"""Every record the package hands out: each property reads, the arrays are frozen, and the
values that have a closed form have it (part losses w0 L / Q and 1 / (w0 C Q) at f0)."""

import math

import numpy as np
import pytest

import bandmatch
from conftest import DIPOLE


def properties(record):
    kind = type(record)
    return [name for name in dir(kind) if isinstance(getattr(kind, name, None), property)]


def test_every_property_of_every_record_reads():
    load = bandmatch.read_touchstone(DIPOLE)
    fit = bandmatch.fit_load(load, 3.5e6, 4e6)
    design = fit.design(4, name="ant")
    networks = bandmatch.build(design, series="E48", q_inductor=150, load=load)
    tuning = bandmatch.tune(design, load=load, series="E48", tune_retuning=True)
    trials = bandmatch.tolerance(networks[-1], tolerance=2, trials=50)
    records = [load, fit, fit.chosen, fit.retuning, design, design.report(), networks[-1],
               networks[-1].figures, networks[-1].figures_on_load, tuning, trials,
               trials.sensitivities[0], bandmatch.best_match_table(1.0)[-1]]
    for record in records:
        assert repr(record)
        for name in properties(record):
            value = getattr(record, name)
            # The dipole is a series load retuned by an inductor: the parallel and capacitor
            # figures are None.
            assert value is not None or name in (
                "turns_ratio", "measured_load", "n", "value_farads", "conductance_siemens",
                "susceptance_slope_siemens"), (record, name)
    assert tuning.variables[-1] == "retuning element"
    assert tuning.networks[-1].label == "Tuned, E48 values"
    assert np.all(trials.band_lower <= trials.band_upper)
    assert trials.band_frequencies[0] >= networks[-1].f1_hz / 2
    with pytest.raises(ValueError):
        load.frequencies[0] = 1.0


def test_part_losses_are_those_of_their_q_at_the_band_centre():
    design = bandmatch.design(3, "parallel", 144e6, 148e6, q=30, resistance=0.02)
    network = bandmatch.build(design, q_inductor=100, q_capacitor=400)[-1]
    omega0 = 2 * math.pi * math.sqrt(144e6 * 148e6)
    assert network.inductor_loss[0] == network.capacitor_loss[0] == 0  # the load's own
    for k in (1, 2):
        assert network.inductor_loss[k] == pytest.approx(omega0 * network.inductance[k] / 100,
                                                         rel=1e-12)
        assert network.capacitor_loss[k] == pytest.approx(
            1 / (omega0 * network.capacitance[k] * 400), rel=1e-12)
    response = bandmatch.response(network, [146e6, 150e6])
    # Lossy parts take power: the gain lies below 1 - |S11|^2.
    assert np.all(response.gain < 1 - response.gamma ** 2)
    assert response.s11.dtype == complex and response.gamma.shape == (2,)
