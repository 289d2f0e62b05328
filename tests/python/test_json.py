"""--json of the companion programs: each document is valid against its schema in docs/json/,
holds the numbers the same run prints in its tables (to the tables' printed precision), and
leaves the files as a run without it writes them. The expected numbers are the ones the programs
print, read from their tables by the patterns below."""

import json
import math
import re
import subprocess

import jsonschema
import pytest

import bandmatch

from conftest import DIPOLE, REPOSITORY, program, run

NUMBER = r"(-?[0-9.]+(?:e[-+][0-9]+)?)"


def half_unit(printed):
    """Half a unit in the last printed digit: the table's rounding."""
    mantissa, _, exponent = printed.partition("e")
    decimals = len(mantissa.partition(".")[2])
    return 0.5 * 10.0 ** (-decimals + (int(exponent) if exponent else 0))


def at(document, path):
    for key in path:
        document = document[key]
    return document


def gain_db(ratio):
    return 10 * math.log10(ratio)


# (program, arguments, [(path in the document, pattern of the table with the printed number,
# what the table prints of the value)]). {D} is the dipole's file; ant.csv its N = 3 design.
SAME = None
CASES = [
    ("bandmatch-fit", ["{D}", "3.5", "4.0"], [
        (("candidates", 0, "resistance_ohms"), r"R \(ohms\) = +" + NUMBER, SAME),
        (("candidates", 0, "capacitance_farads"), r"C \(F\) = +" + NUMBER, SAME),
        (("candidates", 0, "own_resonance_hz"), r"Own resonance \(MHz\) = +" + NUMBER,
         lambda hz: hz / 1e6),
        (("candidates", 0, "worst_error"), r"over the band = +" + NUMBER + " %",
         lambda share: 100 * share),
        (("retuning", "value_henries"), r"series inductor \(H\) = +" + NUMBER, SAME),
        (("retuning", "inductance_henries"), r"L of the retuned load \(H\) = +" + NUMBER, SAME),
        (("f0_hz",), r"\(f0\) \(MHz\) = +" + NUMBER, lambda hz: hz / 1e6),
        (("reactance_slope_ohms",), r"Slope Parameter \(ohms\) = +" + NUMBER, SAME),
        (("load_q",), r"Load Q = +" + NUMBER, SAME),
        (("best_match", 2, "rho_max"), r"\n   3 +\S+ +" + NUMBER, SAME),
        (("best_match", 10, "worst_swr"), r"\n   inf(?: +\S+){3} +" + NUMBER, SAME),
    ]),
    ("bandmatch-fit", ["--decrement", "0.03"], [
        (("best_match", 0, "rho_min"), r"\n   1 +" + NUMBER, SAME),
        (("best_match", 9, "worst_return_loss_db"), r"\n   10(?: +\S+){2} +" + NUMBER, SAME),
    ]),
    ("bandmatch-export", ["ant.csv", "--series", "E24", "--q-inductor", "100", "--load", "{D}",
                          "--power", "100", "--tolerance", "5", "--trials", "200"], [
        (("variants", "networks", 0, "figures", "worst_gamma"), r"\nideal +" + NUMBER, SAME),
        (("variants", "networks", 2, "figures", "worst_swr"), r"with losses +\S+ +" + NUMBER,
         SAME),
        (("variants", "networks", 2, "figures", "worst_gain"),
         r"with losses(?: +\S+){3} +" + NUMBER, gain_db),
        (("variants", "networks", 2, "figures", "worst_dissipation"),
         r"with losses(?: +\S+){4} +" + NUMBER, gain_db),
        (("measured_load", "built_retuning", "value_henries"), r"built as " + NUMBER, SAME),
        (("measured_load", "figures_on_load", "best_gamma"), r"measured load: min " + NUMBER,
         SAME),
        (("measured_load", "figures_on_load", "worst_swr"),
         r"measured load: .* worst SWR " + NUMBER, SAME),
        (("stress", "parts", 0, "peak_voltage_volts"), r"\nL\(3\) +" + NUMBER, SAME),
        (("stress", "parts", 2, "rms_current_amperes"), r"\nL\(2\) +\S+ +" + NUMBER, SAME),
        (("tolerance", "nominal_swr"), r"worst in-band SWR " + NUMBER, SAME),
        (("tolerance", "yield_interval", 0), r"95 % interval " + NUMBER,
         lambda share: 100 * share),
        (("tolerance", "percentiles", 1, "worst_swr"), NUMBER + r" \(90th\)", SAME),
        (("tolerance", "sensitivities", 0, "change"), r"\nL\(2\) +" + NUMBER + r"\n", SAME),
    ]),
    ("bandmatch-tune", ["ant.csv", "--series", "E24", "--source-ohms", "50"], [
        (("tuning", "report_rho_max"), r"N = 3 +" + NUMBER, SAME),
        (("tuning", "untuned_worst"), r"\nuntuned on the model load +" + NUMBER, SAME),
        (("tuning", "tuned_worst"), r"\ntuned on the model load +" + NUMBER, SAME),
        (("tuning", "tuned_standard_worst"), r"\ntuned, E24 values, on the model load +" + NUMBER,
         SAME),
        (("tuning", "equal_ripple_rho_max"), r"decrement \S+ +" + NUMBER, SAME),
        (("tuning", "bound_rho_max"), r"N = inf +" + NUMBER, SAME),
        (("tuning", "evaluations"), r"Tuning: ([0-9]+) iterations", SAME),
    ]),
    ("bandmatch-tune", ["ant.csv", "--load", "{D}", "--range", "30"], [
        (("measured_load", "retuning", "value_henries"), r"series inductor \(H\) " + NUMBER,
         SAME),
        (("tuning", "tuned_worst"), r"\ntuned on the measured load +" + NUMBER, SAME),
        (("tuning", "decrement"), r"decrement " + NUMBER, SAME),
    ]),
    ("bandmatch-search", ["50", "{D}", "3.5", "4.0", "--max-parts", "3", "--series", "E24",
                          "--tolerance", "2", "--trials", "100"], [
        (("tolerance", "nominal_swr"), r"worst in-band SWR " + NUMBER, SAME),
        (("best", "worst_gamma"), r"Best: .* worst \|Gamma\| " + NUMBER, SAME),
        (("best", "worst_gain_db"), r"Best: .* worst gain " + NUMBER, SAME),
        (("candidates", 0, "iterations"), r"\n1 +.*? {2,}[0-9]+ +([0-9]+) ", SAME),
        (("candidates", 0, "swr"), r"\n1 .* " + NUMBER + r" +\S+\n", SAME),
        (("candidates", 0, "continuous_worst_gamma"), r"\n1 .* " + NUMBER + r"\n", SAME),
        (("limit", "worst_gamma"), r"\nLimit .* " + NUMBER + r" +\S+ *\n", SAME),
    ]),
]


@pytest.fixture(scope="module")
def folder(tmp_path_factory):
    """A folder holding ant.csv, the dipole's N = 3 design made by the real programs."""
    here = tmp_path_factory.mktemp("json")
    answers = run([program("bandmatch-fit"), str(DIPOLE), "3.5", "4.0", "--answers", "3",
                   "--name", "ant"], cwd=here)
    run([program("bandmatch")], cwd=here, stdin=answers)
    return here


def written_files(folder, base):
    return {path.name: path.read_bytes() for path in sorted(folder.glob(base + "*"))}


@pytest.mark.parametrize("name, arguments, checks", CASES,
                         ids=[f"{case[0]}-{i}" for i, case in enumerate(CASES)])
def test_json_holds_the_tables_numbers(request, folder, name, arguments, checks):
    base = request.node.callspec.id
    arguments = [word.replace("{D}", str(DIPOLE)) for word in arguments]
    if name != "bandmatch-fit":
        arguments += ["--out", base]
    printed = run([program(name), *arguments], cwd=folder)
    files = written_files(folder, base)
    text = run([program(name), *arguments, "--json"], cwd=folder)
    document = json.loads(text)
    schema = json.loads((REPOSITORY / "docs" / "json" / f"{name}.schema.json").read_text())
    jsonschema.validate(document, schema, cls=jsonschema.Draft202012Validator)
    assert document["program"] == name
    if name != "bandmatch-fit":
        # The files are those of the run without --json (the tuner's report bears no time).
        assert written_files(folder, base) == files
        assert sorted(document["files"]) == list(files)
    for path, pattern, shown in checks:
        match = re.search(pattern, printed)
        assert match, (pattern, printed)
        value = at(document, path)
        expected = float(match.group(1))
        assert (shown or (lambda v: v))(value) == pytest.approx(
            expected, abs=half_unit(match.group(1)) * (1 + 1e-9)), path


def test_json_refusals_stay_one_line_on_standard_error(folder):
    refusals = [
        [program("bandmatch-fit"), str(DIPOLE), "3.5", "4.0", "--answers", "3", "--name", "a",
         "--json"],
        [program("bandmatch-export"), "missing.csv", "--json"],
        [program("bandmatch-tune"), "ant.csv", "--range", "0", "--json"],
    ]
    for arguments in refusals:
        done = subprocess.run(arguments, cwd=folder, capture_output=True, text=True, timeout=60)
        assert (done.returncode, done.stdout) == (2, ""), arguments
        assert done.stderr.count("\n") == 1, done.stderr


def test_json_tool_reads_the_tuners_document(folder):
    tuned = subprocess.run(f"'{program('bandmatch-tune')}' ant.csv --out piped --json | "
                           "/usr/bin/python3 -m json.tool", shell=True, cwd=folder,
                           capture_output=True, text=True, timeout=300)
    assert tuned.returncode == 0, tuned.stderr
    assert json.loads(tuned.stdout)["tuning"]["tuned_worst"] > 0


def properties(kind):
    return {name for name in dir(kind) if isinstance(getattr(kind, name), property)}


# (program's arguments, path of a record in its document, the package's record of the same
# figures, the keys the package has no attribute for).
VOCABULARY = [
    (["bandmatch-fit", "{D}", "3.5", "4.0"], (), bandmatch.LoadFit,
     {"program", "version", "load_file", "file_points", "answer_words", "answers_refusal",
      "warnings", "best_match"}),
    (["bandmatch-fit", "{D}", "3.5", "4.0"], ("candidates", 0), bandmatch.LoadModel, set()),
    (["bandmatch-fit", "{D}", "3.5", "4.0"], ("retuning",), bandmatch.Retuning, set()),
    (["bandmatch-fit", "{D}", "3.5", "4.0"], ("best_match", 0), bandmatch.BestMatchRow, set()),
    (["bandmatch-export", "ant.csv", "--tolerance", "1", "--trials", "20", "--out", "words"],
     ("variants", "networks", 0, "figures"), bandmatch.Figures, set()),
    (["bandmatch-export", "ant.csv", "--tolerance", "1", "--trials", "20", "--out", "words"],
     ("tolerance",), bandmatch.Tolerance, {"on_measured_load", "percentiles"}),
    (["bandmatch-export", "ant.csv", "--tolerance", "1", "--trials", "20", "--out", "words"],
     ("tolerance", "sensitivities", 0), bandmatch.Sensitivity, set()),
    (["bandmatch-tune", "ant.csv", "--out", "words"], ("tuning",), bandmatch.Tuning,
     {"on_measured_load", "f1_hz", "f2_hz", "optimised_samples", "edge_samples", "range_percent",
      "series", "report_rho_max", "equal_ripple_rho_max", "bound_rho_max"}),
]


@pytest.mark.parametrize("arguments, path, record, extra", VOCABULARY,
                         ids=[f"{case[2].__name__}" for case in VOCABULARY])
def test_json_keys_are_the_packages_names(folder, arguments, path, record, extra):
    arguments = [word.replace("{D}", str(DIPOLE)) for word in arguments]
    document = json.loads(run([program(arguments[0]), *arguments[1:], "--json"], cwd=folder))
    keys = set(at(document, path))
    assert keys - extra <= properties(record), keys - extra - properties(record)
