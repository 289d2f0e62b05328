"""Type stubs of bandmatch._bandmatch, the compiled part of bandmatch.

Every record is read-only. Frequencies are in Hz, resistances in ohms, conductances in siemens,
inductances in henries, capacitances in farads. The records of the fit, the built networks, their
figures, the tuning and the tolerance trials name a figure as the companion programs' --json
documents do, its unit in the name (f1_hz, resistance_ohms, worst_return_loss_db, ...).
"""

import datetime
from typing import Any, Dict, Optional, Sequence, Tuple, Union

import numpy as np
import numpy.typing as npt

__version__: str
LOAD_FILE_SIZE_LIMIT: int
REPORT_SIZE_LIMIT: int

class Design:
    """A design of the console dialogue: its answers, the band and load quantities, the Fano
    solution and match figures, the prototype values and the element values."""

    @property
    def name(self) -> str:
        """The result name: the reports are NAME.txt and NAME.csv."""
    @property
    def n(self) -> int:
        """N, the number of resonators."""
    @property
    def method(self) -> str:
        """The dialogue's method letter: d (decrement), q (load Q) or l (slope parameters)."""
    @property
    def load(self) -> str:
        """'series' or 'parallel'."""
    @property
    def f1(self) -> float:
        """Lower band edge (Hz)."""
    @property
    def f2(self) -> float:
        """Upper band edge (Hz)."""
    @property
    def f0(self) -> float:
        """Centre frequency sqrt(f1 f2) (Hz)."""
    @property
    def omega0(self) -> float:
        """Centre angular frequency (rad/s)."""
    @property
    def match_bandwidth(self) -> float:
        """Match bandwidth f2 - f1 (Hz)."""
    @property
    def wm(self) -> float:
        """Fractional match bandwidth (f2 - f1) / f0."""
    @property
    def decrement(self) -> float:
        """Load decrement 1 / (Q wm)."""
    @property
    def load_q(self) -> float:
        """Load Q at f0."""
    @property
    def resistance(self) -> float:
        """Average load resistance (ohms, series load) or conductance (siemens, parallel load)."""
    @property
    def delta_bandwidth(self) -> float:
        """Method l: the delta bandwidth (Hz); 0 otherwise."""
    @property
    def delta(self) -> float:
        """Method l: the delta reactance (ohms) or susceptance (siemens); 0 otherwise."""
    @property
    def slope_parameter(self) -> float:
        """Method l: the reactance (ohms) or susceptance (siemens) slope parameter; 0 otherwise."""
    @property
    def a(self) -> float:
        """Fano's parameter A."""
    @property
    def b(self) -> float:
        """Fano's parameter B."""
    @property
    def fv(self) -> float:
        """Squared residual of Fano's equations at (A, B)."""
    @property
    def it(self) -> int:
        """Residual evaluations of the Newton - Raphson solution."""
    @property
    def rho_min(self) -> float:
        """Smallest reflection magnitude over the band."""
    @property
    def rho_max(self) -> float:
        """Largest reflection magnitude over the band."""
    @property
    def mismatch_loss_min(self) -> float:
        """Mismatch loss at rho_min (dB, negative)."""
    @property
    def mismatch_loss_max(self) -> float:
        """Mismatch loss at rho_max (dB, negative)."""
    @property
    def return_loss_min(self) -> float:
        """Return loss at rho_min (dB, negative)."""
    @property
    def return_loss_max(self) -> float:
        """Return loss at rho_max (dB, negative)."""
    @property
    def swr_min(self) -> float:
        """SWR at rho_min."""
    @property
    def swr_max(self) -> float:
        """SWR at rho_max."""
    @property
    def g(self) -> Tuple[float, ...]:
        """Prototype values g(0) (load) to g(N+1) (source)."""
    @property
    def inductance(self) -> Tuple[float, ...]:
        """L(1) to L(N) (H); position 1 is the load's own resonator."""
    @property
    def capacitance(self) -> Tuple[float, ...]:
        """C(1) to C(N) (F)."""
    @property
    def load_resistance(self) -> float:
        """Load resistance of the network (ohms)."""
    @property
    def source_resistance(self) -> float:
        """Source resistance the network needs (ohms)."""
    @property
    def warnings(self) -> str:
        """The dialogue's warnings for a decrement or load Q outside its recommended range."""
    def report_text(self, date: Optional[datetime.datetime] = None) -> bytes:
        """The bytes the console program writes to NAME.txt, dated `date` (local time) or now."""
    def report_csv(self, date: Optional[datetime.datetime] = None) -> bytes:
        """The bytes the console program writes to NAME.csv, dated `date` (local time) or now."""
    def report(self) -> Report:
        """The design as the companion programs read it from its CSV report."""

def design(
    n: int,
    load: str,
    f1: float,
    f2: float,
    *,
    decrement: Optional[float] = None,
    q: Optional[float] = None,
    slope: Optional[Tuple[float, float]] = None,
    resistance: float,
    name: str = "bandmatch",
) -> Design:
    """The design of the console dialogue for N resonators (1 to 10), a 'series' or 'parallel'
    load and the band f1 to f2 (Hz).

    The load is described by exactly one of decrement (method d, 0.01 to 20), q (the load Q,
    method q, 0.0333 to 300) or slope = (delta bandwidth in Hz, delta reactance in ohms or
    susceptance in siemens) (method l), and resistance: the average resistance in ohms (series)
    or conductance in siemens (parallel), above 0 and at most 1000000. Each value is checked
    against the range the dialogue accepts; a refused one raises ValueError with the dialogue's
    reason, e.g. "decrement: not a number from 0.010 to 20.000".
    """

class Report:
    """A design as the companion programs read it from its CSV report."""

    @property
    def n(self) -> int: ...
    @property
    def load(self) -> str: ...
    @property
    def f1(self) -> float: ...
    @property
    def f2(self) -> float: ...
    @property
    def rho_min(self) -> float: ...
    @property
    def rho_max(self) -> float: ...
    @property
    def network(self) -> Network:
        """The report's ideal ladder on its model load."""

class LoadData:
    """A measured or simulated one-port: impedance against frequency."""

    @property
    def frequencies(self) -> npt.NDArray[np.float64]:
        """Frequencies (Hz), strictly increasing; a read-only array."""
    @property
    def impedance(self) -> npt.NDArray[np.complex128]:
        """Impedance at each frequency (complex ohms); a read-only array."""
    @property
    def name(self) -> str:
        """The file it was read from, as given; empty otherwise."""
    def __len__(self) -> int: ...

class Retuning:
    """The element that makes a fitted load resonate at f0, and the resonator it forms."""

    @property
    def kind(self) -> str:
        """'series capacitor', 'series inductor', 'shunt capacitor' or 'shunt inductor'."""
    @property
    def value_henries(self) -> Optional[float]:
        """The inductor's value (H); None for a capacitor."""
    @property
    def value_farads(self) -> Optional[float]:
        """The capacitor's value (F); None for an inductor."""
    @property
    def inductance_henries(self) -> float:
        """L of the retuned resonator (H)."""
    @property
    def capacitance_farads(self) -> float:
        """C of the retuned resonator (F)."""
    @property
    def slope(self) -> float:
        """w0 L' (ohms, series) or w0 C' (siemens, parallel) of the retuned resonator."""
    @property
    def loss(self) -> float:
        """Series loss resistance of the element as built (ohms)."""

class LoadModel:
    """A resonator fitted to a measured load: series R-L-C or parallel G-L-C."""

    @property
    def model(self) -> str:
        """'series' or 'parallel'."""
    @property
    def resistance_ohms(self) -> Optional[float]:
        """R (ohms), the band average of the data's; None for the parallel model."""
    @property
    def conductance_siemens(self) -> Optional[float]:
        """G (siemens), the band average of the data's; None for the series model."""
    @property
    def inductance_henries(self) -> float:
        """The load's own L (H)."""
    @property
    def capacitance_farads(self) -> float:
        """The load's own C (F)."""
    @property
    def own_resonance_hz(self) -> Optional[float]:
        """The model's own resonance (Hz); None when its L or C is not positive."""
    @property
    def worst_error(self) -> float:
        """Largest |Z(model) - Z(data)| / |Z(data)| over the band's points."""
    @property
    def worst_error_frequency_hz(self) -> float:
        """Where the worst error lies (Hz)."""
    @property
    def retuning(self) -> Optional[Retuning]:
        """The retuning element, or None when the model resonates at f0."""
    @property
    def refusal(self) -> str:
        """Why the model cannot serve; empty when it can."""

class LoadFit:
    """bandmatch-fit's fit of a measured load over a band."""

    @property
    def model(self) -> str:
        """'series' or 'parallel'."""
    @property
    def chosen(self) -> LoadModel:
        """The chosen model."""
    @property
    def candidates(self) -> Tuple[LoadModel, ...]:
        """Every model tried, the chosen one first."""
    @property
    def retuning(self) -> Optional[Retuning]:
        """The chosen model's retuning element, or None."""
    @property
    def decrement(self) -> float:
        """Decrement of the retuned resonator."""
    @property
    def load_q(self) -> float:
        """Q of the retuned resonator at f0."""
    @property
    def f1_hz(self) -> float: ...
    @property
    def f2_hz(self) -> float: ...
    @property
    def f0_hz(self) -> float: ...
    @property
    def wm(self) -> float: ...
    @property
    def reactance_slope_ohms(self) -> Optional[float]:
        """Reactance slope parameter (ohms) of a series load; None for a parallel one."""
    @property
    def susceptance_slope_siemens(self) -> Optional[float]:
        """Susceptance slope parameter (siemens) of a parallel load; None for a series one."""
    @property
    def band_points(self) -> int:
        """Measured points inside the band."""
    def report(self, name: Optional[str] = None) -> str:
        """The report bandmatch-fit prints, naming the load `name` (default: its file)."""
    def answers(self, n: int, name: str) -> Tuple[str, ...]:
        """The answer words of bandmatch-fit --answers N --name NAME."""
    def design_arguments(self) -> Dict[str, Any]:
        """The keyword arguments of design() for the fitted load (method l):
        design(n, **fit.design_arguments(), name=...)."""
    def design(self, n: int, *, name: str = "bandmatch") -> Design:
        """The design the answer words give the console program, the same values to the bit as
        bandmatch-fit --answers N --name NAME | bandmatch."""

class BestMatchRow:
    """The best equal-ripple match N resonators reach, or Fano's bound for infinitely many."""

    @property
    def n(self) -> Optional[int]:
        """Resonators; None for the bound of infinitely many."""
    @property
    def solved(self) -> bool:
        """Whether the solver met its tolerance with finite figures."""
    @property
    def rho_min(self) -> float: ...
    @property
    def rho_max(self) -> float: ...
    @property
    def worst_return_loss_db(self) -> float:
        """At rho_max (dB, negative)."""
    @property
    def worst_swr(self) -> float: ...

def best_match_table(decrement: float) -> Tuple[BestMatchRow, ...]:
    """bandmatch-fit's table of the best match for a load of this decrement (above 0): N = 1 to
    10 and the bound exp(-pi decrement) of infinitely many resonators (n None)."""

class Figures:
    """A network's worst figures over the closed band as the worst-case judge finds them."""

    @property
    def worst_gamma(self) -> float: ...
    @property
    def worst_gamma_frequency_hz(self) -> float: ...
    @property
    def best_gamma(self) -> float: ...
    @property
    def worst_swr(self) -> float: ...
    @property
    def worst_gain(self) -> float:
        """Smallest transducer gain (a ratio)."""
    @property
    def worst_gain_frequency_hz(self) -> float: ...
    @property
    def worst_dissipation(self) -> float:
        """Smallest gain / (1 - |Gamma|^2): the share the parts' losses leave."""

class Network:
    """A matching network: the ladder (position 1 is the load's own resonator), and on a
    measured load the load with its retuning element in place of position 1."""

    @property
    def label(self) -> str:
        """What the network is, as the programs label its curve."""
    @property
    def load(self) -> str: ...
    @property
    def n(self) -> int: ...
    @property
    def f1_hz(self) -> float: ...
    @property
    def f2_hz(self) -> float: ...
    @property
    def inductance(self) -> Tuple[float, ...]:
        """L(1) to L(N) (H)."""
    @property
    def capacitance(self) -> Tuple[float, ...]:
        """C(1) to C(N) (F)."""
    @property
    def inductor_loss(self) -> Tuple[float, ...]:
        """Series loss resistance of each inductor (ohms)."""
    @property
    def capacitor_loss(self) -> Tuple[float, ...]:
        """Series loss resistance of each capacitor (ohms)."""
    @property
    def load_resistance_ohms(self) -> float: ...
    @property
    def source_resistance_ohms(self) -> float:
        """The source's own resistance (ohms), the reference of S11."""
    @property
    def turns_ratio(self) -> Optional[float]:
        """Turns ratio of the ideal transformer to the source, or None."""
    @property
    def retuning(self) -> Optional[Retuning]:
        """On a measured load its retuning element as built, or None."""
    @property
    def measured_load(self) -> Optional[LoadData]:
        """The measured load in place of position 1, or None."""
    @property
    def figures(self) -> Figures:
        """Worst figures over the band on the model load."""
    @property
    def figures_on_load(self) -> Optional[Figures]:
        """Worst figures over the band on the measured load, or None."""

class Tuning:
    """bandmatch-tune's tuning of a design's network."""

    @property
    def networks(self) -> Tuple[Network, ...]:
        """Untuned and tuned; with standard values also the rounded ones. The last is the
        network to build."""
    @property
    def network(self) -> Network: ...
    @property
    def untuned(self) -> Network: ...
    @property
    def tuned(self) -> Network: ...
    @property
    def untuned_worst(self) -> float:
        """Worst in-band |Gamma| of the untuned network on the target load."""
    @property
    def tuned_worst(self) -> float:
        """Worst in-band |Gamma| of the tuned network on the target load."""
    @property
    def untuned_standard_worst(self) -> Optional[float]: ...
    @property
    def tuned_standard_worst(self) -> Optional[float]: ...
    @property
    def variables(self) -> Tuple[str, ...]:
        """The values tuned: 'L(2)', 'C(2)', ..., 'source resistance' or 'turns ratio',
        'retuning element'."""
    @property
    def at_limit(self) -> Tuple[str, ...]:
        """The tuned values that ended at the range's limit."""
    @property
    def standard_variables(self) -> Tuple[str, ...]: ...
    @property
    def standard_at_limit(self) -> Tuple[str, ...]: ...
    @property
    def evaluations(self) -> int: ...
    @property
    def standard_evaluations(self) -> int: ...
    @property
    def samples(self) -> int: ...
    @property
    def decrement(self) -> float: ...
    @property
    def seconds(self) -> float: ...
    @property
    def summary(self) -> str:
        """The table bandmatch-tune prints."""
    @property
    def values_csv(self) -> str:
        """bandmatch-tune's NAME-values.csv."""

class Sensitivity:
    """The change of the worst in-band |S11| for +1 % of one part."""

    @property
    def part(self) -> str: ...
    @property
    def position(self) -> int: ...
    @property
    def kind(self) -> str: ...
    @property
    def change(self) -> float: ...

class Tolerance:
    """bandmatch-export's tolerance trials of a network."""

    @property
    def tolerance_l_percent(self) -> float: ...
    @property
    def tolerance_c_percent(self) -> float: ...
    @property
    def trials(self) -> int: ...
    @property
    def seed(self) -> int: ...
    @property
    def goal_swr(self) -> float: ...
    @property
    def nominal_swr(self) -> float: ...
    @property
    def worst_swr(self) -> npt.NDArray[np.float64]:
        """Every trial's worst in-band SWR, ascending."""
    @property
    def passing(self) -> int: ...
    @property
    def yield_share(self) -> float: ...
    @property
    def yield_interval(self) -> Tuple[float, float]:
        """Wilson's score interval of the share at 95 % confidence."""
    def percentile(self, percent: int) -> float:
        """The nearest-rank percentile of the trials' worst SWR."""
    @property
    def sensitivities(self) -> Tuple[Sensitivity, ...]:
        """Each part's sensitivity, largest change first."""
    @property
    def band_frequencies(self) -> npt.NDArray[np.float64]: ...
    @property
    def band_lower(self) -> npt.NDArray[np.float64]: ...
    @property
    def band_upper(self) -> npt.NDArray[np.float64]: ...
    @property
    def summary(self) -> str:
        """The lines bandmatch-export prints for the trials."""

def tolerance(
    network: Network,
    *,
    tolerance: Optional[float] = None,
    tolerance_l: Optional[float] = None,
    tolerance_c: Optional[float] = None,
    trials: int = 1000,
    seed: int = 1,
    goal_swr: float = 2.0,
) -> Tolerance:
    """bandmatch-export's tolerance trials: every L and C of positions 2 to N (and a measured
    load's retuning element) drawn uniformly within tolerance_l or tolerance_c percent (each
    defaults to tolerance; 0 to 50), `trials` trials (1 to 1000000) from `seed` (0 to 2^64 - 1),
    the yield against goal_swr (1 or more)."""

def _load_from_text(text: bytes, name: str) -> LoadData: ...
def _load_from_numbers(
    frequencies: Union[Sequence[float], npt.ArrayLike],
    impedance: Union[Sequence[complex], npt.ArrayLike],
    name: str,
) -> LoadData: ...
def _report_from_text(text: bytes, name: str) -> Report: ...
def _fit_load(data: LoadData, f1: float, f2: float, model: str) -> LoadFit: ...
def _build(
    design: Union[Design, Report],
    *,
    source_ohms: Optional[float],
    series: Optional[str],
    q_inductor: Optional[float],
    q_capacitor: Optional[float],
    load: Optional[LoadData],
) -> Tuple[Network, ...]: ...
def _tune(
    design: Union[Design, Report],
    *,
    load: Optional[LoadData],
    source_ohms: Optional[float],
    series: Optional[str],
    q_inductor: Optional[float],
    q_capacitor: Optional[float],
    range: float,
    tune_retuning: bool,
) -> Tuning: ...
def _response(
    network: Network, frequencies: npt.ArrayLike
) -> Tuple[npt.NDArray[np.complex128], npt.NDArray[np.float64], Optional[npt.NDArray[np.float64]]]: ...
def _search(
    source: Union[str, LoadData],
    load: Union[str, LoadData],
    source_name: str,
    load_name: str,
    f1: float,
    f2: float,
    max_parts: int,
    topology: Optional[str],
    series: Optional[str],
    q_inductor: Optional[float],
    q_capacitor: Optional[float],
    line_loss_db: float,
) -> Tuple[str, str]: ...
