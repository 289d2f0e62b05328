"""bandmatch from Python: broadband band-pass matching networks by Fano's and Levy's method.

The console program's design and the companion programs' fit, build, tuning and tolerance
trials, called on the same libraries, with SI units throughout: frequencies in Hz, resistances
in ohms, conductances in siemens, inductances in henries, capacitances in farads. Every record
is read-only. A value the programs refuse raises ValueError with the program's reason; an
argument of the wrong type raises TypeError.

    >>> import bandmatch
    >>> d = bandmatch.design(3, "series", 10e6, 20e6, decrement=1, resistance=50, name="run1")
    >>> round(d.rho_max, 9)
    0.111010597

Measured loads are Touchstone files (read_touchstone), or scikit-rf one-port networks wherever a
measured load is taken.
"""

from __future__ import annotations

import json
import os
import sys
from typing import TYPE_CHECKING, NamedTuple, Optional, Sequence, Tuple, Union

import numpy as np

from ._bandmatch import (
    BestMatchRow,
    Design,
    Figures,
    LoadData,
    LoadFit,
    LoadModel,
    Network,
    Report,
    Retuning,
    Sensitivity,
    Tolerance,
    Tuning,
    __version__,
    best_match_table,
    design,
    tolerance,
)
from . import _bandmatch

if TYPE_CHECKING:
    import skrf

__all__ = [
    "BestMatchRow",
    "Design",
    "Figures",
    "LoadData",
    "LoadFit",
    "LoadModel",
    "Network",
    "Report",
    "Response",
    "Retuning",
    "Search",
    "SearchCandidate",
    "SearchLimit",
    "Sensitivity",
    "Tolerance",
    "Tuning",
    "__version__",
    "best_match_table",
    "build",
    "design",
    "fit_load",
    "load_data",
    "read_report",
    "read_touchstone",
    "response",
    "search",
    "to_skrf",
    "tolerance",
    "tune",
]

PathOrBytes = Union[str, "os.PathLike[str]", bytes, bytearray, memoryview]
MeasuredData = Union[LoadData, "skrf.Network"]
DesignLike = Union[Design, Report]


class Response(NamedTuple):
    """A network's response at the frequencies asked for, each array of their shape."""

    s11: np.ndarray
    """Input reflection, complex, referenced to the source resistance."""
    gamma: np.ndarray
    """|S11|."""
    gain: Optional[np.ndarray]
    """Transducer power gain (a ratio); None on a measured load, whose losses are not known."""


class SearchCandidate(NamedTuple):
    """One candidate of the topology search, as bandmatch-search ranks it; the figures are the
    network's as built (None when it could not be built, `error` then says why)."""

    rank: int
    topology: str
    family: str
    parts: int
    iterations: int
    worst_gain_db: Optional[float]
    worst_gamma: Optional[float]
    swr: Optional[float]
    continuous_worst_gamma: Optional[float]
    """With a series: the worst in-band |Gamma| with the values left continuous."""
    error: Optional[str]


class SearchLimit(NamedTuple):
    """The limit no lossless network can beat over the band (Bode-Fano or Fano's bound)."""

    description: str
    worst_gain_db: float
    worst_gamma: float
    swr: Optional[float]


class Search(NamedTuple):
    """bandmatch-search's ranking: the fields of its --json document, and the text it prints."""

    source: str
    load: str
    f1_hz: float
    f2_hz: float
    parts: str
    topologies: int
    screening_samples: int
    samples: int
    candidates: Tuple[SearchCandidate, ...]
    limit: Optional[SearchLimit]
    best: Optional[SearchCandidate]
    summary: str


SearchEnd = Union[float, int, str, LoadData, "skrf.Network"]


def _search_end(end: SearchEnd, role: str) -> Tuple[Union[str, LoadData], str]:
    """An end as the library takes it and as the summary names it."""
    if isinstance(end, bool):
        raise TypeError(f"{role}: ohms, a model's text or measured data is needed, found bool")
    if isinstance(end, (int, float)):
        text = repr(float(end)) if isinstance(end, float) else str(end)
        return text, text
    if isinstance(end, str):
        return end, end
    data = _measured(end, role)
    return data, "measured data"


def search(
    source: SearchEnd,
    load: SearchEnd,
    f1: float,
    f2: float,
    *,
    max_parts: int = 6,
    topology: Optional[str] = None,
    series: Optional[str] = None,
    q_inductor: Optional[float] = None,
    q_capacitor: Optional[float] = None,
    line_loss_db: float = 0.0,
) -> Search:
    """bandmatch-search's topology search between two ends over the band f1 to f2 (Hz).

    Each end is a resistance in ohms, a model's text ("series:R=12.5,L=1.2u,C=80p",
    "parallel:R=200,C=5p") or measured data (read_touchstone, or a scikit-rf one-port). As the
    program's options: max_parts (the library's topologies of at most so many parts, 1 to 20),
    topology (one topology in the program's grammar instead, such as "X pLC sL|C pC"), series
    (E12 to E192 values), q_inductor, q_capacitor and line_loss_db (dB per wavelength at f0).
    """
    source_end, source_name = _search_end(source, "the source")
    load_end, load_name = _search_end(load, "the load")
    document, summary = _bandmatch._search(
        source_end, load_end, source_name, load_name, f1, f2, max_parts, topology, series,
        q_inductor, q_capacitor, line_loss_db)
    fields = json.loads(document)
    candidates = tuple(SearchCandidate(**row) for row in fields["candidates"])
    limit = fields["limit"]
    return Search(
        source=fields["source"],
        load=fields["load"],
        f1_hz=fields["f1_hz"],
        f2_hz=fields["f2_hz"],
        parts=fields["parts"],
        topologies=fields["topologies"],
        screening_samples=fields["screening_samples"],
        samples=fields["samples"],
        candidates=candidates,
        limit=SearchLimit(**limit) if limit else None,
        best=candidates[0] if candidates else None,
        summary=summary,
    )


def _file_bytes(source: PathOrBytes, limit: int) -> Tuple[bytes, str]:
    """The file's bytes (at most one past `limit`) and its name, or the bytes given."""
    if isinstance(source, (bytes, bytearray, memoryview)):
        return bytes(source), ""
    path = os.fspath(source)
    if isinstance(path, bytes):
        path = os.fsdecode(path)
    with open(path, "rb") as file:
        return file.read(limit + 1), path


def read_touchstone(source: PathOrBytes) -> LoadData:
    """Reads a measured or simulated one-port as bandmatch-fit does.

    `source` is a path or the file's bytes: Touchstone 1.x or 2.0, S, Y or Z parameters, MA, DB
    or RI. Returns the frequencies (Hz) and impedances (complex ohms). A file the programs refuse
    raises ValueError with their reason ("PATH: line N: ..."); a missing file raises OSError.
    """
    text, name = _file_bytes(source, _bandmatch.LOAD_FILE_SIZE_LIMIT)
    return _bandmatch._load_from_text(text, name)


def load_data(frequencies: Sequence[float], impedance: Sequence[complex], name: str = "") -> LoadData:
    """A measured load from numbers: frequencies (Hz, strictly increasing) and impedances (ohms).

    Each point is checked as a file's point is; a refused one raises ValueError.
    """
    return _bandmatch._load_from_numbers(frequencies, impedance, name)


def _from_skrf(network: "skrf.Network") -> LoadData:
    """A scikit-rf one-port as a measured load: its frequencies, and its impedance from its
    s-parameters and real reference impedance z0, Z = z0 (1 + S) / (1 - S)."""
    if network.nports != 1:
        raise ValueError(f"a one-port network is needed, found {network.nports} ports")
    z0 = np.asarray(network.z0)[:, 0]
    if np.any(np.imag(z0) != 0):
        raise ValueError("a real reference impedance z0 is needed")
    s = np.asarray(network.s)[:, 0, 0]
    with np.errstate(divide="ignore", invalid="ignore"):
        impedance = np.real(z0) * (1 + s) / (1 - s)
    return _bandmatch._load_from_numbers(network.f, impedance, network.name or "")


def _measured(data: Optional[MeasuredData], what: str) -> Optional[LoadData]:
    if data is None or isinstance(data, LoadData):
        return data
    skrf = sys.modules.get("skrf")
    if skrf is not None and isinstance(data, skrf.Network):
        return _from_skrf(data)
    raise TypeError(
        f"{what}: a LoadData (read_touchstone) or a scikit-rf Network is needed, "
        f"found {type(data).__name__}"
    )


def read_report(source: PathOrBytes) -> Report:
    """Reads a CSV report written by the console program, as the companion programs read it.

    `source` is a path or the file's bytes. A text that is no such report raises ValueError with
    the programs' reason.
    """
    text, name = _file_bytes(source, _bandmatch.REPORT_SIZE_LIMIT)
    return _bandmatch._report_from_text(text, name)


def fit_load(data: MeasuredData, f1: float, f2: float, model: str = "auto") -> LoadFit:
    """bandmatch-fit's fit of a measured load over the band f1 to f2 (Hz).

    `model` is "series" (R-L-C), "parallel" (G-L-C) or "auto" (the one of smaller worst error
    among those that retune to a resonator). The record holds the model, its retuning element,
    the decrement and the dialogue's answers (answers(), design_arguments(), design()).
    """
    return _bandmatch._fit_load(_measured(data, "data"), f1, f2, model)


def build(
    design: DesignLike,
    *,
    source_ohms: Optional[float] = None,
    series: Optional[str] = None,
    q_inductor: Optional[float] = None,
    q_capacitor: Optional[float] = None,
    load: Optional[MeasuredData] = None,
) -> Tuple[Network, ...]:
    """The network variants bandmatch-export builds of a design, the last the network to build.

    As its options: source_ohms (an ideal transformer to a source of R ohms, 0.001 to 1000000),
    series (E12, E24, E48, E96 or E192 values for positions 2 to N), q_inductor and q_capacitor
    (each part's loss at f0), load (a measured load in place of position 1, with its retuning
    element built like the other parts).
    """
    return _bandmatch._build(
        design,
        source_ohms=source_ohms,
        series=series,
        q_inductor=q_inductor,
        q_capacitor=q_capacitor,
        load=_measured(load, "load"),
    )


def tune(
    design: DesignLike,
    *,
    load: Optional[MeasuredData] = None,
    source_ohms: Optional[float] = None,
    series: Optional[str] = None,
    q_inductor: Optional[float] = None,
    q_capacitor: Optional[float] = None,
    range: float = 50,
    tune_retuning: bool = False,
) -> Tuning:
    """bandmatch-tune's tuning of a design's network for the least worst in-band |Gamma|.

    The options of build(), and as the tuner's: range (each value moves within a factor
    1 + range/100 of its start either way, above 0 and at most 1000 percent) and tune_retuning
    (the measured load's retuning element is tuned too).
    """
    return _bandmatch._tune(
        design,
        load=_measured(load, "load"),
        source_ohms=source_ohms,
        series=series,
        q_inductor=q_inductor,
        q_capacitor=q_capacitor,
        range=range,
        tune_retuning=tune_retuning,
    )


def response(network: Network, frequencies: Union[float, Sequence[float], np.ndarray]) -> Response:
    """The network's input reflection S11 (referenced to its source resistance), |S11| and
    transducer gain at the frequencies (Hz, above 0; on a measured load within its data)."""
    s11, gamma, gain = _bandmatch._response(network, frequencies)
    return Response(s11, gamma, gain)


def to_skrf(network: Network, frequencies: Union[Sequence[float], np.ndarray]) -> "skrf.Network":
    """The network's input reflection at the frequencies (Hz) as a scikit-rf one-port, its
    reference impedance the source resistance."""
    try:
        import skrf
    except ImportError as error:
        raise ImportError(
            "to_skrf needs scikit-rf: install the Debian package python3-scikit-rf "
            "or 'pip install scikit-rf'"
        ) from error
    frequencies = np.asarray(frequencies, dtype=float).ravel()
    s11 = response(network, frequencies).s11
    return skrf.Network(
        frequency=skrf.Frequency.from_f(frequencies, unit="hz"),
        s=s11.reshape(-1, 1, 1),
        z0=network.source_resistance_ohms,
        name=network.label,
    )
