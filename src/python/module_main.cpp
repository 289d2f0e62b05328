// The module bandmatch._bandmatch: the console program's design and the companion programs' runs
// for Python, as read-only records. Every refusal of the programs becomes a ValueError with the
// program's reason, an argument of the wrong type a TypeError; nothing here computes what the
// libraries compute.
#include <pybind11/complex.h>
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <cstdint>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

#include "core/display_text.hpp"
#include "core/number_format.hpp"
#include "core/version.hpp"
#include "fitting/fit_report.hpp"
#include "formats/touchstone_reader.hpp"
#include "network/best_match.hpp"
#include "python/design_arguments.hpp"
#include "python/measured_data.hpp"
#include "python/network_records.hpp"
#include "python/network_runs.hpp"
#include "runs/json_summary.hpp"
#include "runs/network_search.hpp"

namespace py = pybind11;

namespace bandmatch {

namespace {

// A design of the dialogue, and the network its CSV report describes once it is asked for.
struct DesignRecord {
  DesignCase design;
  mutable std::shared_ptr<const ReportedDesign> reported;
};

// A CSV report's design as the companion programs read it.
struct ReportRecord {
  std::shared_ptr<const ReportedDesign> design;
};

// A measured load and the name it was read under (empty for bytes and numbers).
struct LoadRecord {
  std::shared_ptr<const MeasuredLoad> load;
  std::string name;
};

struct FitRecord {
  FitRun run;
  LoadRecord load;
};

struct ToleranceRecord {
  ToleranceRun run;
  double goalSwr = 0.0;
};

[[noreturn]] void refuse(const std::string& reason) {
  throw py::value_error(reason);
}

// "NAME: reason" for a load read from a named file, the reason alone otherwise.
std::string named(const std::string& name, const std::string& reason) {
  return name.empty() ? reason : name + ": " + reason;
}

std::string typeName(const py::handle& value) {
  return py::str(py::type::of(value).attr("__name__"));
}

// A Python int that is no bool, as a long long; values beyond it become `beyond`, which the
// caller's range refuses.
long long wholeNumber(const py::handle& value, const char* what, long long beyond) {
  if (!PyLong_Check(value.ptr()) || PyBool_Check(value.ptr())) {
    throw py::type_error(std::string(what) + ": an int is needed, found " + typeName(value));
  }
  int overflow = 0;
  const long long number = PyLong_AsLongLongAndOverflow(value.ptr(), &overflow);
  return overflow != 0 ? beyond : number;
}

// The seed as the exporter takes it: a whole number from 0 to 2^64 - 1, or nothing beyond.
std::optional<std::uint64_t> seedOf(const py::handle& value) {
  wholeNumber(value, "seed", 0);  // the type check alone
  const unsigned long long seed = PyLong_AsUnsignedLongLong(value.ptr());
  if (PyErr_Occurred() != nullptr) {
    PyErr_Clear();
    return std::nullopt;
  }
  return seed;
}

std::shared_ptr<const ReportedDesign> reportedOf(const DesignRecord& record) {
  if (!record.reported) {
    DesignReading reading = reportedDesignOf(record.design);
    if (!reading.design) {
      refuse("the design's CSV report cannot be read back: " + reading.error);
    }
    record.reported = std::move(reading.design);
  }
  return record.reported;
}

// A Design or a Report, as the programs take a report's design.
std::shared_ptr<const ReportedDesign> reportedDesignArgument(const py::handle& design) {
  if (py::isinstance<DesignRecord>(design)) {
    return reportedOf(design.cast<const DesignRecord&>());
  }
  if (py::isinstance<ReportRecord>(design)) {
    return design.cast<const ReportRecord&>().design;
  }
  throw py::type_error("design: a Design or a Report is needed, found " + typeName(design));
}

// A measured load in place of position 1, as the programs fit it over the design's band.
std::shared_ptr<const LoadOnNetwork> placedLoad(const std::optional<LoadRecord>& load,
                                                const ReportedDesign& design) {
  if (!load) {
    return nullptr;
  }
  MeasuredPlacing placing = placeMeasuredLoad(*load->load, design);
  if (!placing.load) {
    refuse(named(load->name, placing.error));
  }
  return placing.load;
}

BuildOptions buildOptionsOf(const BuildArguments& arguments) {
  BuildReading reading = readBuildArguments(arguments);
  if (!reading.options) {
    refuse(reading.error);
  }
  return *reading.options;
}

// The frozen copy NumPy hands out: the record stays as it was made.
template <typename Value>
py::array_t<Value> frozenArray(const std::vector<Value>& values, double scale = 1.0) {
  py::array_t<Value> array(static_cast<py::ssize_t>(values.size()));
  Value* data = array.mutable_data();
  for (std::size_t i = 0; i < values.size(); ++i) {
    data[i] = values[i] * scale;
  }
  array.attr("flags").attr("writeable") = false;
  return array;
}

py::tuple positionValues(const std::vector<double>& values, std::size_t count) {
  py::tuple tuple(count);
  for (std::size_t i = 0; i < count; ++i) {
    tuple[i] = i < values.size() ? values[i] : 0.0;
  }
  return tuple;
}

py::tuple designValues(const ValueArray& values, int first, int last) {
  py::tuple tuple(static_cast<std::size_t>(last - first + 1));
  for (int i = first; i <= last; ++i) {
    tuple[static_cast<std::size_t>(i - first)] = values[static_cast<std::size_t>(i)];
  }
  return tuple;
}

py::tuple words(const std::vector<std::string>& texts) {
  py::tuple tuple(texts.size());
  for (std::size_t i = 0; i < texts.size(); ++i) {
    tuple[i] = texts[i];
  }
  return tuple;
}

// The report's date: a datetime as given (its own local fields), or the system's local time.
LocalClock clockOf(const py::object& date) {
  if (date.is_none()) {
    return systemLocalTime;
  }
  if (!py::isinstance(date, py::module_::import("datetime").attr("datetime"))) {
    throw py::type_error("date: a datetime.datetime or None is needed, found " + typeName(date));
  }
  std::tm local{};
  local.tm_year = date.attr("year").cast<int>() - 1900;
  local.tm_mon = date.attr("month").cast<int>() - 1;
  local.tm_mday = date.attr("day").cast<int>();
  local.tm_hour = date.attr("hour").cast<int>();
  local.tm_min = date.attr("minute").cast<int>();
  local.tm_sec = date.attr("second").cast<int>();
  constexpr int DAYS_PER_WEEK = 7;
  // Python counts the weekdays from Monday, the C library from Sunday.
  local.tm_wday = (date.attr("weekday")().cast<int>() + 1) % DAYS_PER_WEEK;
  return [local] { return std::optional<std::tm>(local); };
}

py::object retuningOrNone(const Retuning& retuning) {
  return retuning.kind == RetuningKind::none ? py::none() : py::cast(retuning);
}

py::tuple variableNames(const std::vector<TuningVariable>& variables, const TuneRun& run) {
  std::vector<std::string> names;
  for (const TuningVariable& variable : variables) {
    names.push_back(tuningVariableName(variable, run.tuning.untuned.network.ladder));
  }
  return words(names);
}

double hertz(double frequencyMHz) {
  return frequencyMHz * HZ_PER_MHZ;
}

std::string designRepr(const DesignCase& design) {
  return "<bandmatch.Design " + design.csvFileName.substr(0, design.csvFileName.size() - 4) +
         ": N = " + formatInteger(design.N) + ", " + std::string(loadWord(design.loadType)) +
         " load, decrement " + py::repr(py::float_(design.decrement)).cast<std::string>() + ">";
}

void defineDesign(py::module_& m) {
  py::class_<DesignRecord>(m, "Design",
                           "A design of the console dialogue: its answers, the band and load "
                           "quantities, the Fano solution and match figures, the prototype "
                           "values and the element values. Read-only; frequencies in Hz.")
      .def_property_readonly(
          "name",
          [](const DesignRecord& r) {
            const std::string& csv = r.design.csvFileName;
            return csv.substr(0, csv.size() - 4);
          },
          "The result name: the reports are NAME.txt and NAME.csv.")
      .def_property_readonly(
          "n", [](const DesignRecord& r) { return r.design.N; }, "N, the number of resonators.")
      .def_property_readonly(
          "method",
          [](const DesignRecord& r) {
            constexpr std::array<const char*, 3> LETTERS = {"d", "l", "q"};
            return LETTERS[static_cast<std::size_t>(r.design.method)];
          },
          "The dialogue's method letter: d (decrement), q (load Q) or l "
          "(slope parameters).")
      .def_property_readonly(
          "load", [](const DesignRecord& r) { return loadWord(r.design.loadType); },
          "'series' or 'parallel'.")
      .def_property_readonly(
          "f1", [](const DesignRecord& r) { return hertz(r.design.f1); }, "Lower band edge (Hz).")
      .def_property_readonly(
          "f2", [](const DesignRecord& r) { return hertz(r.design.f2); }, "Upper band edge (Hz).")
      .def_property_readonly(
          "f0", [](const DesignRecord& r) { return hertz(r.design.f0); },
          "Centre frequency sqrt(f1 f2) (Hz).")
      .def_property_readonly(
          "omega0", [](const DesignRecord& r) { return r.design.omega0; },
          "Centre angular frequency (rad/s).")
      .def_property_readonly(
          "match_bandwidth", [](const DesignRecord& r) { return hertz(r.design.matchBandwidth); },
          "Match bandwidth f2 - f1 (Hz).")
      .def_property_readonly(
          "wm", [](const DesignRecord& r) { return r.design.wm; },
          "Fractional match bandwidth (f2 - f1) / f0.")
      .def_property_readonly(
          "decrement", [](const DesignRecord& r) { return r.design.decrement; },
          "Load decrement 1 / (Q wm).")
      .def_property_readonly(
          "load_q", [](const DesignRecord& r) { return r.design.loadQ; }, "Load Q at f0.")
      .def_property_readonly(
          "resistance",
          [](const DesignRecord& r) {
            return r.design.loadType == LoadType::series ? r.design.averageResistance
                                                         : r.design.averageConductance;
          },
          "Average load resistance (ohms, series load) or conductance "
          "(siemens, parallel load), as given.")
      .def_property_readonly(
          "delta_bandwidth", [](const DesignRecord& r) { return hertz(r.design.deltaBandwidth); },
          "Method l: the delta bandwidth (Hz); 0 otherwise.")
      .def_property_readonly(
          "delta",
          [](const DesignRecord& r) {
            return r.design.loadType == LoadType::series ? r.design.deltaReactance
                                                         : r.design.deltaSusceptance;
          },
          "Method l: the delta reactance (ohms) or susceptance (siemens); 0 "
          "otherwise.")
      .def_property_readonly(
          "slope_parameter",
          [](const DesignRecord& r) {
            return r.design.loadType == LoadType::series ? r.design.reactanceSlope
                                                         : r.design.susceptanceSlope;
          },
          "Method l: the reactance (ohms) or susceptance (siemens) slope "
          "parameter; 0 otherwise.")
      .def_property_readonly(
          "a", [](const DesignRecord& r) { return r.design.A; }, "Fano's parameter A.")
      .def_property_readonly(
          "b", [](const DesignRecord& r) { return r.design.B; }, "Fano's parameter B.")
      .def_property_readonly(
          "fv", [](const DesignRecord& r) { return r.design.FV; },
          "Squared residual of Fano's equations at (A, B).")
      .def_property_readonly(
          "it", [](const DesignRecord& r) { return r.design.IT; },
          "Residual evaluations of the Newton - Raphson solution.")
      .def_property_readonly(
          "rho_min", [](const DesignRecord& r) { return r.design.rhoMin; },
          "Smallest reflection magnitude over the band.")
      .def_property_readonly(
          "rho_max", [](const DesignRecord& r) { return r.design.rhoMax; },
          "Largest reflection magnitude over the band.")
      .def_property_readonly(
          "mismatch_loss_min", [](const DesignRecord& r) { return r.design.mismatchLossMin; },
          "Mismatch loss at rho_min (dB, negative).")
      .def_property_readonly(
          "mismatch_loss_max", [](const DesignRecord& r) { return r.design.mismatchLossMax; },
          "Mismatch loss at rho_max (dB, negative).")
      .def_property_readonly(
          "return_loss_min", [](const DesignRecord& r) { return r.design.returnLossMin; },
          "Return loss at rho_min (dB, negative).")
      .def_property_readonly(
          "return_loss_max", [](const DesignRecord& r) { return r.design.returnLossMax; },
          "Return loss at rho_max (dB, negative).")
      .def_property_readonly(
          "swr_min", [](const DesignRecord& r) { return r.design.swrMin; }, "SWR at rho_min.")
      .def_property_readonly(
          "swr_max", [](const DesignRecord& r) { return r.design.swrMax; }, "SWR at rho_max.")
      .def_property_readonly(
          "g", [](const DesignRecord& r) { return designValues(r.design.g, 0, r.design.N + 1); },
          "Prototype values g(0) (load) to g(N+1) (source).")
      .def_property_readonly(
          "inductance",
          [](const DesignRecord& r) { return designValues(r.design.L, 1, r.design.N); },
          "L(1) to L(N) (H); position 1 is the load's own resonator.")
      .def_property_readonly(
          "capacitance",
          [](const DesignRecord& r) { return designValues(r.design.C, 1, r.design.N); },
          "C(1) to C(N) (F).")
      .def_property_readonly(
          "load_resistance", [](const DesignRecord& r) { return r.design.loadResistance; },
          "Load resistance of the network (ohms).")
      .def_property_readonly(
          "source_resistance", [](const DesignRecord& r) { return r.design.sourceResistance; },
          "Source resistance the network needs (ohms).")
      .def_property_readonly(
          "warnings", [](const DesignRecord& r) { return rangeWarningText(r.design); },
          "The dialogue's warnings for a decrement or load Q outside its "
          "recommended range; empty when there are none.")
      .def(
          "report_text",
          [](const DesignRecord& r, const py::object& date) {
            return py::bytes(textReportOf(r.design, clockOf(date)));
          },
          py::arg("date") = py::none(),
          "The bytes the console program writes to NAME.txt for this design, dated `date` (a "
          "datetime.datetime, taken as local time) or now.")
      .def(
          "report_csv",
          [](const DesignRecord& r, const py::object& date) {
            return py::bytes(csvReportOf(r.design, clockOf(date)));
          },
          py::arg("date") = py::none(),
          "The bytes the console program writes to NAME.csv for this design, dated `date` (a "
          "datetime.datetime, taken as local time) or now.")
      .def(
          "report", [](const DesignRecord& r) { return ReportRecord{reportedOf(r)}; },
          "The design as the companion programs read it from its CSV report.")
      .def("__repr__", [](const DesignRecord& r) { return designRepr(r.design); });

  m.def(
      "design",
      [](const py::handle& n, const std::string& load, double f1, double f2,
         std::optional<double> decrement, std::optional<double> q,
         std::optional<std::array<double, 2>> slope, double resistance, std::string name) {
        DesignArguments arguments;
        arguments.name = std::move(name);
        arguments.n = static_cast<int>(
            std::clamp<long long>(wholeNumber(n, "n", 0), MIN_ELEMENTS - 1, MAX_ELEMENTS + 1));
        arguments.load = load;
        arguments.f1 = f1 / HZ_PER_MHZ;
        arguments.f2 = f2 / HZ_PER_MHZ;
        arguments.decrement = decrement;
        arguments.loadQ = q;
        if (slope) {
          arguments.slope = std::array<double, 2>{(*slope)[0] / HZ_PER_MHZ, (*slope)[1]};
        }
        arguments.level = resistance;
        DesignMaking made = makeDesign(arguments);
        if (!made.design) {
          refuse(made.error);
        }
        return DesignRecord{std::move(*made.design), nullptr};
      },
      py::arg("n"), py::arg("load"), py::arg("f1"), py::arg("f2"), py::kw_only(),
      py::arg("decrement") = py::none(), py::arg("q") = py::none(), py::arg("slope") = py::none(),
      py::arg("resistance"), py::arg("name") = "bandmatch",
      "The design of the console dialogue for N resonators, a 'series' or 'parallel' load and "
      "the band f1 to f2 (Hz). The load is described by exactly one of decrement (method d), q "
      "(the load Q, method q) or slope = (delta bandwidth in Hz, delta reactance in ohms or "
      "susceptance in siemens) (method l), and resistance: the average resistance in ohms "
      "(series) or conductance in siemens (parallel). Each value is checked against the range "
      "the dialogue accepts; a refused one raises ValueError with the dialogue's reason.");
}

void defineMeasured(py::module_& m) {
  py::class_<LoadRecord>(m, "LoadData",
                         "A measured or simulated one-port: impedance against frequency. "
                         "Read-only.")
      .def_property_readonly(
          "frequencies",
          [](const LoadRecord& r) { return frozenArray(r.load->frequencyMHz, HZ_PER_MHZ); },
          "Frequencies (Hz), strictly increasing.")
      .def_property_readonly(
          "impedance", [](const LoadRecord& r) { return frozenArray(r.load->impedance); },
          "Impedance at each frequency (complex ohms).")
      .def_property_readonly(
          "name", [](const LoadRecord& r) { return r.name; },
          "The file it was read from, as given; empty otherwise.")
      .def("__len__", [](const LoadRecord& r) { return r.load->frequencyMHz.size(); })
      .def("__repr__", [](const LoadRecord& r) {
        return "<bandmatch.LoadData " + (r.name.empty() ? std::string() : r.name + ", ") +
               formatInteger(static_cast<long long>(r.load->frequencyMHz.size())) + " points>";
      });

  m.def(
      "_load_from_text",
      [](const py::bytes& text, const std::string& name) {
        const std::string_view view = text;
        MeasuredReading reading = measuredLoadOfText(view);
        if (!reading.load) {
          refuse(named(name, reading.error));
        }
        return LoadRecord{std::move(reading.load), name};
      },
      py::arg("text"), py::arg("name"));
  m.def(
      "_load_from_numbers",
      [](py::array_t<double, py::array::c_style | py::array::forcecast> frequencies,
         py::array_t<std::complex<double>, py::array::c_style | py::array::forcecast> impedance,
         const std::string& name) {
        if (frequencies.ndim() != 1 || impedance.ndim() != 1) {
          refuse("frequencies and impedances must be one-dimensional");
        }
        MeasuredReading reading = measuredLoadOfNumbers(
            {frequencies.data(), static_cast<std::size_t>(frequencies.size())},
            {impedance.data(), static_cast<std::size_t>(impedance.size())});
        if (!reading.load) {
          refuse(named(name, reading.error));
        }
        return LoadRecord{std::move(reading.load), name};
      },
      py::arg("frequencies"), py::arg("impedance"), py::arg("name"));
  m.attr("LOAD_FILE_SIZE_LIMIT") = LOAD_FILE_SIZE_LIMIT;
  m.attr("REPORT_SIZE_LIMIT") = REPORT_TEXT_LIMIT;

  py::class_<Retuning>(m, "Retuning",
                       "The one element that makes a fitted load resonate at f0, and the "
                       "resonator it forms with the load's own L and C. Read-only.")
      .def_property_readonly(
          "kind", [](const Retuning& r) { return retuningWord(r.kind); },
          "'series capacitor', 'series inductor', 'shunt capacitor' or "
          "'shunt inductor'.")
      .def_property_readonly(
          "value_henries",
          [](const Retuning& r) {
            return retuningIsInductor(r.kind) ? std::optional(r.value) : std::nullopt;
          },
          "The inductor's value (H); None for a capacitor.")
      .def_property_readonly(
          "value_farads",
          [](const Retuning& r) {
            return retuningIsInductor(r.kind) ? std::nullopt : std::optional(r.value);
          },
          "The capacitor's value (F); None for an inductor.")
      .def_property_readonly(
          "inductance_henries", [](const Retuning& r) { return r.inductance; },
          "L of the retuned resonator (H).")
      .def_property_readonly(
          "capacitance_farads", [](const Retuning& r) { return r.capacitance; },
          "C of the retuned resonator (F).")
      .def_property_readonly(
          "slope", [](const Retuning& r) { return r.slope; },
          "w0 L' (ohms, series) or w0 C' (siemens, parallel) of the retuned "
          "resonator.")
      .def_property_readonly(
          "loss", [](const Retuning& r) { return r.loss; },
          "Series loss resistance of the element as built (ohms).")
      .def("__repr__", [](const Retuning& r) {
        return "<bandmatch.Retuning " + std::string(retuningWord(r.kind)) + " " +
               py::repr(py::float_(r.value)).cast<std::string>() + ">";
      });

  py::class_<ModelCandidate>(m, "LoadModel",
                             "A resonator fitted to a measured load: series R-L-C or parallel "
                             "G-L-C. Read-only.")
      .def_property_readonly(
          "model", [](const ModelCandidate& c) { return loadWord(c.model.type); },
          "'series' or 'parallel'.")
      .def_property_readonly(
          "resistance_ohms",
          [](const ModelCandidate& c) {
            return c.model.type == LoadType::series ? std::optional(c.model.level) : std::nullopt;
          },
          "R (ohms), the band average of the data's; None for the parallel model.")
      .def_property_readonly(
          "conductance_siemens",
          [](const ModelCandidate& c) {
            return c.model.type == LoadType::series ? std::nullopt : std::optional(c.model.level);
          },
          "G (siemens), the band average of the data's; None for the series model.")
      .def_property_readonly(
          "inductance_henries", [](const ModelCandidate& c) { return c.model.inductance; },
          "The load's own L (H).")
      .def_property_readonly(
          "capacitance_farads", [](const ModelCandidate& c) { return c.model.capacitance; },
          "The load's own C (F).")
      .def_property_readonly(
          "own_resonance_hz",
          [](const ModelCandidate& c) -> std::optional<double> {
            const std::optional<double> resonance = ownResonanceMHz(c.model);
            return resonance ? std::optional(hertz(*resonance)) : std::nullopt;
          },
          "The model's own resonance (Hz); None when its L or C is not positive.")
      .def_property_readonly(
          "worst_error", [](const ModelCandidate& c) { return c.model.worstError; },
          "Largest |Z(model) - Z(data)| / |Z(data)| over the band's points.")
      .def_property_readonly(
          "worst_error_frequency_hz",
          [](const ModelCandidate& c) { return hertz(c.model.worstErrorMHz); },
          "Where the worst error lies (Hz).")
      .def_property_readonly(
          "retuning", [](const ModelCandidate& c) { return retuningOrNone(c.retuning); },
          "The retuning element, or None when the model resonates at f0.")
      .def_property_readonly(
          "refusal", [](const ModelCandidate& c) { return c.refusal; },
          "Why the model cannot serve; empty when it can.");

  py::class_<FitRecord>(m, "LoadFit",
                        "bandmatch-fit's fit of a measured load over a band: the chosen model, "
                        "its retuning element and the load description the dialogue's method l "
                        "derives. Read-only; frequencies in Hz.")
      .def_property_readonly(
          "model",
          [](const FitRecord& r) { return loadWord(r.run.fit.candidates.front().model.type); },
          "'series' or 'parallel'.")
      .def_property_readonly(
          "chosen", [](const FitRecord& r) { return r.run.fit.candidates.front(); },
          "The chosen model.")
      .def_property_readonly(
          "candidates", [](const FitRecord& r) { return r.run.fit.candidates; },
          "Every model tried, the chosen one first.")
      .def_property_readonly(
          "retuning",
          [](const FitRecord& r) { return retuningOrNone(r.run.fit.candidates.front().retuning); },
          "The chosen model's retuning element, or None.")
      .def_property_readonly(
          "decrement", [](const FitRecord& r) { return r.run.fit.load.decrement; },
          "Decrement of the retuned resonator.")
      .def_property_readonly(
          "load_q", [](const FitRecord& r) { return r.run.fit.load.loadQ; },
          "Q of the retuned resonator at f0.")
      .def_property_readonly(
          "f1_hz", [](const FitRecord& r) { return hertz(r.run.fit.load.f1); },
          "Lower band edge (Hz).")
      .def_property_readonly(
          "f2_hz", [](const FitRecord& r) { return hertz(r.run.fit.load.f2); },
          "Upper band edge (Hz).")
      .def_property_readonly(
          "f0_hz", [](const FitRecord& r) { return hertz(r.run.fit.load.f0); },
          "Centre frequency (Hz).")
      .def_property_readonly(
          "wm", [](const FitRecord& r) { return r.run.fit.load.wm; }, "Fractional match bandwidth.")
      .def_property_readonly(
          "reactance_slope_ohms",
          [](const FitRecord& r) {
            const DesignCase& load = r.run.fit.load;
            return load.loadType == LoadType::series ? std::optional(load.reactanceSlope)
                                                     : std::nullopt;
          },
          "Reactance slope parameter (ohms) of a series load; None for a parallel one.")
      .def_property_readonly(
          "susceptance_slope_siemens",
          [](const FitRecord& r) {
            const DesignCase& load = r.run.fit.load;
            return load.loadType == LoadType::series ? std::nullopt
                                                     : std::optional(load.susceptanceSlope);
          },
          "Susceptance slope parameter (siemens) of a parallel load; None for a series one.")
      .def_property_readonly(
          "band_points", [](const FitRecord& r) { return r.run.band.last - r.run.band.first + 1; },
          "Measured points inside the band.")
      .def(
          "report",
          [](const FitRecord& r, std::optional<std::string> name) {
            return fitReportText(*r.load.load, r.run, name.value_or(r.load.name));
          },
          py::arg("name") = py::none(),
          "The report bandmatch-fit prints, naming the load `name` (default: its file).")
      .def(
          "answers",
          [](const FitRecord& r, const py::handle& n, const std::string& name) {
            const DialogueAnswers answers = fitAnswers(
                r.run.fit, static_cast<int>(std::clamp<long long>(wholeNumber(n, "n", 0), 0, 11)),
                name);
            if (!answers.error.empty()) {
              refuse(answers.error);
            }
            return words(answers.words);
          },
          py::arg("n"), py::arg("name"),
          "The answer words of bandmatch-fit --answers N --name NAME, which piped into "
          "bandmatch design N resonators for the fitted load.")
      .def(
          "design_arguments",
          [](const FitRecord& r) {
            const DialogueAnswers answers = fitAnswers(r.run.fit, 1, "load");
            if (!answers.error.empty()) {
              refuse(answers.error);
            }
            const DesignArguments arguments = designArgumentsOf(answers);
            py::dict result;
            result["load"] = arguments.load;
            result["f1"] = hertz(arguments.f1);
            result["f2"] = hertz(arguments.f2);
            result["slope"] = py::make_tuple(hertz((*arguments.slope)[0]), (*arguments.slope)[1]);
            result["resistance"] = arguments.level;
            return result;
          },
          "The keyword arguments of design() for the fitted load (method l), as the answer words "
          "give them: design(n, **fit.design_arguments(), name=...).")
      .def(
          "design",
          [](const FitRecord& r, const py::handle& n, const std::string& name) {
            const DialogueAnswers answers = fitAnswers(
                r.run.fit, static_cast<int>(std::clamp<long long>(wholeNumber(n, "n", 0), 0, 11)),
                name);
            if (!answers.error.empty()) {
              refuse(answers.error);
            }
            DesignMaking made = makeDesign(designArgumentsOf(answers));
            if (!made.design) {
              refuse(made.error);
            }
            return DesignRecord{std::move(*made.design), nullptr};
          },
          py::arg("n"), py::kw_only(), py::arg("name") = "bandmatch",
          "The design the answer words give the console program: the same values to the bit as "
          "bandmatch-fit --answers N --name NAME | bandmatch.");

  m.def(
      "_fit_load",
      [](const LoadRecord& load, double f1, double f2, const std::string& model) {
        FitRun run = fitMeasuredLoad(*load.load, f1, f2, model);
        if (!run.error.empty()) {
          refuse(named(load.name, run.error));
        }
        return FitRecord{std::move(run), load};
      },
      py::arg("data"), py::arg("f1"), py::arg("f2"), py::arg("model"));

  py::class_<BestMatchRow>(m, "BestMatchRow",
                           "The best equal-ripple match N resonators reach on a load of the "
                           "decrement, or Fano's bound for infinitely many. Read-only.")
      .def_property_readonly(
          "n",
          [](const BestMatchRow& row) {
            return row.n == 0 ? py::object(py::none()) : py::cast(row.n);
          },
          "Resonators; None for the bound of infinitely many.")
      .def_property_readonly(
          "solved", [](const BestMatchRow& row) { return row.solved; },
          "Whether the solver met its tolerance with finite figures.")
      .def_property_readonly("rho_min", [](const BestMatchRow& row) { return row.rhoMin; })
      .def_property_readonly("rho_max", [](const BestMatchRow& row) { return row.rhoMax; })
      .def_property_readonly(
          "worst_return_loss_db", [](const BestMatchRow& row) { return row.worstReturnLossDb; },
          "At rho_max (dB, negative).")
      .def_property_readonly("worst_swr", [](const BestMatchRow& row) { return row.worstSwr; })
      .def("__repr__", [](const BestMatchRow& row) {
        return "<bandmatch.BestMatchRow N = " +
               (row.n == 0 ? std::string("inf") : formatInteger(row.n)) + ", rho_max " +
               py::repr(py::float_(row.rhoMax)).cast<std::string>() + ">";
      });

  m.def(
      "best_match_table",
      [](double decrement) {
        if (!(decrement > 0.0) || !std::isfinite(decrement)) {
          refuse("decrement: not a number above 0");
        }
        return py::tuple(py::cast(bestMatchTable(decrement)));
      },
      py::arg("decrement"),
      "bandmatch-fit's table of the best match for a load of this decrement: N = 1 to 10 and "
      "the bound exp(-pi decrement) of infinitely many resonators (n None).");
}

void defineNetworks(py::module_& m) {
  py::class_<JudgedBand>(m, "Figures",
                         "A network's worst figures over the closed band as the worst-case "
                         "judge finds them. Read-only; frequencies in Hz.")
      .def_property_readonly(
          "worst_gamma", [](const JudgedBand& j) { return j.worstReflection; },
          "Largest |Gamma| over the band.")
      .def_property_readonly("worst_gamma_frequency_hz",
                             [](const JudgedBand& j) { return hertz(j.worstReflectionMHz); })
      .def_property_readonly(
          "best_gamma", [](const JudgedBand& j) { return j.bestReflection; },
          "Smallest |Gamma| over the band.")
      .def_property_readonly(
          "worst_swr", [](const JudgedBand& j) { return standingWaveRatio(j.worstReflection); })
      .def_property_readonly(
          "worst_gain", [](const JudgedBand& j) { return j.worstGain; },
          "Smallest transducer gain (a ratio).")
      .def_property_readonly("worst_gain_frequency_hz",
                             [](const JudgedBand& j) { return hertz(j.worstGainMHz); })
      .def_property_readonly(
          "worst_dissipation", [](const JudgedBand& j) { return j.worstDissipation; },
          "Smallest gain / (1 - |Gamma|^2): the share the parts' losses "
          "leave.")
      .def("__repr__", [](const JudgedBand& j) {
        return "<bandmatch.Figures worst |Gamma| " +
               py::repr(py::float_(j.worstReflection)).cast<std::string>() + ">";
      });

  py::class_<HandedNetwork>(m, "Network",
                            "A matching network between a source and its load: the ladder "
                            "(position 1 is the load's own resonator), and on a measured load "
                            "the load with its retuning element in place of position 1. "
                            "Read-only; frequencies in Hz.")
      .def_property_readonly(
          "label", [](const HandedNetwork& n) { return n.label; },
          "What the network is, as the programs label its curve.")
      .def_property_readonly(
          "load", [](const HandedNetwork& n) { return loadWord(n.ladder.loadType); },
          "'series' or 'parallel'.")
      .def_property_readonly("n", [](const HandedNetwork& n) { return n.design->N; })
      .def_property_readonly("f1_hz", [](const HandedNetwork& n) { return hertz(n.design->f1); })
      .def_property_readonly("f2_hz", [](const HandedNetwork& n) { return hertz(n.design->f2); })
      .def_property_readonly(
          "inductance",
          [](const HandedNetwork& n) {
            return positionValues(n.ladder.inductance, n.ladder.inductance.size());
          },
          "L(1) to L(N) (H).")
      .def_property_readonly(
          "capacitance",
          [](const HandedNetwork& n) {
            return positionValues(n.ladder.capacitance, n.ladder.capacitance.size());
          },
          "C(1) to C(N) (F).")
      .def_property_readonly(
          "inductor_loss",
          [](const HandedNetwork& n) {
            return positionValues(n.ladder.inductorLoss, n.ladder.inductance.size());
          },
          "Series loss resistance of each inductor (ohms).")
      .def_property_readonly(
          "capacitor_loss",
          [](const HandedNetwork& n) {
            return positionValues(n.ladder.capacitorLoss, n.ladder.capacitance.size());
          },
          "Series loss resistance of each capacitor (ohms).")
      .def_property_readonly(
          "load_resistance_ohms", [](const HandedNetwork& n) { return n.ladder.loadResistance; },
          "The model load's resistance (ohms).")
      .def_property_readonly(
          "source_resistance_ohms", [](const HandedNetwork& n) { return n.ladder.sourceResistance; },
          "The source's own resistance (ohms), the reference of S11.")
      .def_property_readonly(
          "turns_ratio", [](const HandedNetwork& n) { return n.ladder.turnsRatio; },
          "Turns ratio of the ideal transformer to the source, or None.")
      .def_property_readonly(
          "retuning", [](const HandedNetwork& n) { return retuningOrNone(n.retuning); },
          "On a measured load its retuning element as built, or None.")
      .def_property_readonly(
          "measured_load",
          [](const HandedNetwork& n) -> py::object {
            if (!n.measured) {
              return py::none();
            }
            return py::cast(
                LoadRecord{std::shared_ptr<const MeasuredLoad>(n.measured, &n.measured->load), {}});
          },
          "The measured load in place of position 1, or None.")
      .def_property_readonly(
          "figures",
          [](const HandedNetwork& n) {
            py::gil_scoped_release unlocked;
            return judgedOnModelLoad(n);
          },
          "Worst figures over the band on the model load.")
      .def_property_readonly(
          "figures_on_load",
          [](const HandedNetwork& n) {
            py::gil_scoped_release unlocked;
            return judgedOnMeasuredLoad(n);
          },
          "Worst figures over the band on the measured load, or None.")
      .def("__repr__", [](const HandedNetwork& n) {
        return "<bandmatch.Network " + n.label + ": " + designSummary(*n.design) +
               (n.measured ? ", on a measured load" : "") + ">";
      });

  py::class_<ReportRecord>(m, "Report",
                           "A design as the companion programs read it from its CSV report. "
                           "Read-only; frequencies in Hz.")
      .def_property_readonly("n", [](const ReportRecord& r) { return r.design->N; })
      .def_property_readonly("load",
                             [](const ReportRecord& r) { return loadWord(r.design->loadType); })
      .def_property_readonly("f1", [](const ReportRecord& r) { return hertz(r.design->f1); })
      .def_property_readonly("f2", [](const ReportRecord& r) { return hertz(r.design->f2); })
      .def_property_readonly("rho_min", [](const ReportRecord& r) { return r.design->rhoMin; })
      .def_property_readonly("rho_max", [](const ReportRecord& r) { return r.design->rhoMax; })
      .def_property_readonly(
          "network", [](const ReportRecord& r) { return reportedNetwork(r.design); },
          "The report's ideal ladder on its model load.")
      .def("__repr__", [](const ReportRecord& r) {
        return "<bandmatch.Report " + designSummary(*r.design) + ">";
      });

  m.def(
      "_report_from_text",
      [](const py::bytes& text, const std::string& name) {
        DesignReading reading = reportedDesignOfText(std::string_view(text));
        if (!reading.design) {
          refuse(named(name, reading.error));
        }
        return ReportRecord{std::move(reading.design)};
      },
      py::arg("text"), py::arg("name"));

  m.def(
      "_build",
      [](const py::handle& design, std::optional<double> sourceOhms,
         std::optional<std::string> series, std::optional<double> inductorQ,
         std::optional<double> capacitorQ, std::optional<LoadRecord> load) {
        const std::shared_ptr<const ReportedDesign> reported = reportedDesignArgument(design);
        const BuildOptions options =
            buildOptionsOf({sourceOhms, std::move(series), inductorQ, capacitorQ});
        const std::shared_ptr<const LoadOnNetwork> measured = placedLoad(load, *reported);
        BuiltNetworks built;
        {
          py::gil_scoped_release unlocked;
          built = buildNetworks(reported, options, measured);
        }
        if (!built.error.empty()) {
          refuse(built.error);
        }
        if (!built.loadError.empty()) {
          refuse(named(load->name, built.loadError));
        }
        return py::tuple(py::cast(built.networks));
      },
      py::arg("design"), py::kw_only(), py::arg("source_ohms"), py::arg("series"),
      py::arg("q_inductor"), py::arg("q_capacitor"), py::arg("load"));

  m.def(
      "_response",
      [](const HandedNetwork& network,
         py::array_t<double, py::array::c_style | py::array::forcecast> frequencies) {
        std::vector<py::ssize_t> shape(frequencies.shape(),
                                       frequencies.shape() + frequencies.ndim());
        py::array_t<std::complex<double>> reflection(shape);
        py::array_t<double> magnitude(shape);
        py::array_t<double> gain(shape);
        const auto count = static_cast<std::size_t>(frequencies.size());
        std::string error;
        {
          py::gil_scoped_release unlocked;
          error = networkResponse(network, {frequencies.data(), count},
                                  {reflection.mutable_data(), count},
                                  {magnitude.mutable_data(), count}, {gain.mutable_data(), count});
        }
        if (!error.empty()) {
          refuse(error);
        }
        return py::make_tuple(reflection, magnitude,
                              network.measured ? py::object(py::none()) : py::object(gain));
      },
      py::arg("network"), py::arg("frequencies"));
}

void defineRuns(py::module_& m) {
  py::class_<TuneRun>(m, "Tuning",
                      "bandmatch-tune's tuning of a design's network for the least worst "
                      "in-band |Gamma| on its model load or a measured one. Read-only.")
      .def_property_readonly(
          "networks", [](const TuneRun& r) { return py::tuple(py::cast(r.networks)); },
          "Untuned and tuned; with standard values also the untuned and "
          "tuned rounded networks. The last is the network to build.")
      .def_property_readonly(
          "network", [](const TuneRun& r) { return r.networks.back(); },
          "The network to build: the last of networks.")
      .def_property_readonly("untuned", [](const TuneRun& r) { return r.networks[0]; })
      .def_property_readonly("tuned", [](const TuneRun& r) { return r.networks[1]; })
      .def_property_readonly(
          "untuned_worst", [](const TuneRun& r) { return r.tuning.untuned.worst; },
          "Worst in-band |Gamma| of the untuned network on the target load.")
      .def_property_readonly(
          "tuned_worst", [](const TuneRun& r) { return r.tuning.tuned.worst; },
          "Worst in-band |Gamma| of the tuned network on the target load.")
      .def_property_readonly(
          "untuned_standard_worst",
          [](const TuneRun& r) -> std::optional<double> {
            if (!r.tuning.untunedStandard) {
              return std::nullopt;
            }
            return r.tuning.untunedStandard->worst;
          },
          "With standard values: the rounded untuned network's; else None.")
      .def_property_readonly(
          "tuned_standard_worst",
          [](const TuneRun& r) -> std::optional<double> {
            if (!r.tuning.tunedStandard) {
              return std::nullopt;
            }
            return r.tuning.tunedStandard->worst;
          },
          "With standard values: the rounded tuned network's; else None.")
      .def_property_readonly(
          "variables", [](const TuneRun& r) { return variableNames(r.tuning.variables, r); },
          "The values tuned: 'L(2)', 'C(2)', ..., 'source resistance' or "
          "'turns ratio', 'retuning element'.")
      .def_property_readonly(
          "at_limit", [](const TuneRun& r) { return variableNames(r.tuning.atLimit, r); },
          "The tuned values that ended at the range's limit.")
      .def_property_readonly(
          "standard_variables",
          [](const TuneRun& r) { return variableNames(r.tuning.standardVariables, r); })
      .def_property_readonly(
          "standard_at_limit",
          [](const TuneRun& r) { return variableNames(r.tuning.standardAtLimit, r); })
      .def_property_readonly("evaluations", [](const TuneRun& r) { return r.tuning.evaluations; })
      .def_property_readonly("standard_evaluations",
                             [](const TuneRun& r) { return r.tuning.standardEvaluations; })
      .def_property_readonly(
          "samples", [](const TuneRun& r) { return r.tuning.samples; },
          "Frequencies of the band the tuning sampled.")
      .def_property_readonly(
          "decrement", [](const TuneRun& r) { return r.context.decrement; },
          "Decrement of the model load, or of the measured load's fitted "
          "resonator.")
      .def_property_readonly("seconds", [](const TuneRun& r) { return r.context.seconds; })
      .def_property_readonly(
          "summary", [](const TuneRun& r) { return r.summary; }, "The table bandmatch-tune prints.")
      .def_property_readonly(
          "values_csv", [](const TuneRun& r) { return r.values; },
          "bandmatch-tune's NAME-values.csv.");

  m.def(
      "_tune",
      [](const py::handle& design, std::optional<LoadRecord> load, std::optional<double> sourceOhms,
         std::optional<std::string> series, std::optional<double> inductorQ,
         std::optional<double> capacitorQ, double range, bool tuneRetuning) {
        const std::shared_ptr<const ReportedDesign> reported = reportedDesignArgument(design);
        TuneArguments arguments;
        arguments.build = buildOptionsOf({sourceOhms, std::move(series), inductorQ, capacitorQ});
        arguments.rangePercent = range;
        arguments.tuneRetuning = tuneRetuning;
        // The options are refused before the load file is looked at, as the tuner does.
        if (std::string refusal = tuneArgumentsRefusal(arguments, load.has_value());
            !refusal.empty()) {
          refuse(refusal);
        }
        const std::shared_ptr<const LoadOnNetwork> measured = placedLoad(load, *reported);
        TuneRun run;
        {
          py::gil_scoped_release unlocked;
          run = runTuning(reported, measured, arguments);
        }
        if (!run.error.empty()) {
          refuse(run.error);
        }
        return run;
      },
      py::arg("design"), py::kw_only(), py::arg("load"), py::arg("source_ohms"), py::arg("series"),
      py::arg("q_inductor"), py::arg("q_capacitor"), py::arg("range"), py::arg("tune_retuning"));

  py::class_<PartSensitivity>(m, "Sensitivity",
                              "The change of the worst in-band |S11| for +1 % of one part. "
                              "Read-only.")
      .def_property_readonly(
          "part", [](const PartSensitivity& s) { return partName(s); },
          "'L(3)', 'C(3)'; a measured load's retuning element is 'L(1)' or "
          "'C(1)'.")
      .def_property_readonly("position", [](const PartSensitivity& s) { return s.position; })
      .def_property_readonly("kind",
                             [](const PartSensitivity& s) {
                               return s.kind == PartKind::inductor ? "inductor" : "capacitor";
                             })
      .def_property_readonly("change", [](const PartSensitivity& s) { return s.change; })
      .def("__repr__", [](const PartSensitivity& s) {
        return "<bandmatch.Sensitivity " + partName(s) + " " + formatSensitivity(s.change) + ">";
      });

  py::class_<ToleranceRecord>(m, "Tolerance",
                              "bandmatch-export's tolerance trials of a network: the yield "
                              "against the goal SWR with its Wilson interval, the trials' worst "
                              "SWR and each part's sensitivity. Read-only; frequencies in Hz.")
      .def_property_readonly(
          "tolerance_l_percent", [](const ToleranceRecord& r) { return r.run.options.inductorPercent; },
          "The inductors' tolerance (%).")
      .def_property_readonly(
          "tolerance_c_percent", [](const ToleranceRecord& r) { return r.run.options.capacitorPercent; },
          "The capacitors' tolerance (%).")
      .def_property_readonly("trials",
                             [](const ToleranceRecord& r) { return r.run.options.trials; })
      .def_property_readonly("seed", [](const ToleranceRecord& r) { return r.run.options.seed; })
      .def_property_readonly("goal_swr", [](const ToleranceRecord& r) { return r.goalSwr; })
      .def_property_readonly(
          "nominal_swr", [](const ToleranceRecord& r) { return r.run.result.nominalSwr; },
          "The unperturbed network's worst in-band SWR.")
      .def_property_readonly(
          "worst_swr", [](const ToleranceRecord& r) { return frozenArray(r.run.result.worstSwr); },
          "Every trial's worst in-band SWR, ascending.")
      .def_property_readonly(
          "passing", [](const ToleranceRecord& r) { return r.run.yield.passing; },
          "Trials whose worst SWR is at most the goal.")
      .def_property_readonly(
          "yield_share", [](const ToleranceRecord& r) { return r.run.yield.share; },
          "Their share of the trials.")
      .def_property_readonly(
          "yield_interval",
          [](const ToleranceRecord& r) {
            return py::make_tuple(r.run.yield.lower, r.run.yield.upper);
          },
          "Wilson's score interval of the share at 95 % confidence.")
      .def(
          "percentile",
          [](const ToleranceRecord& r, const py::handle& percent) {
            const long long value = wholeNumber(percent, "percent", -1);
            if (value < 0 || value > 100) {
              refuse("percent: not a whole number from 0 to 100");
            }
            return nearestRankPercentile(r.run.result.worstSwr, static_cast<int>(value));
          },
          py::arg("percent"),
          "The nearest-rank percentile of the trials' worst SWR (the summary shows 50, 90, "
          "99).")
      .def_property_readonly(
          "sensitivities",
          [](const ToleranceRecord& r) { return py::tuple(py::cast(r.run.sensitivities)); },
          "Each part's sensitivity, largest change first.")
      .def_property_readonly(
          "band_frequencies",
          [](const ToleranceRecord& r) {
            return frozenArray(r.run.result.band.frequencyMHz, HZ_PER_MHZ);
          },
          "Frequencies (Hz) of the band holding 90 % of the trials' return "
          "loss.")
      .def_property_readonly(
          "band_lower",
          [](const ToleranceRecord& r) { return frozenArray(r.run.result.band.lowerDb); },
          "Its lower edge (dB).")
      .def_property_readonly(
          "band_upper",
          [](const ToleranceRecord& r) { return frozenArray(r.run.result.band.upperDb); },
          "Its upper edge (dB).")
      .def_property_readonly(
          "summary", [](const ToleranceRecord& r) { return r.run.summary; },
          "The lines bandmatch-export prints for the trials.");

  m.def(
      "tolerance",
      [](const HandedNetwork& network, std::optional<double> tolerance,
         std::optional<double> toleranceL, std::optional<double> toleranceC,
         const py::handle& trials, const py::handle& seed, double goalSwr) {
        ToleranceArguments arguments;
        arguments.tolerance = tolerance;
        arguments.inductorTolerance = toleranceL;
        arguments.capacitorTolerance = toleranceC;
        arguments.trials = wholeNumber(trials, "trials", 0);
        arguments.seed = seedOf(seed);
        arguments.goalSwr = goalSwr;
        ToleranceRun run;
        {
          py::gil_scoped_release unlocked;
          run = runToleranceTrials(network, arguments);
        }
        if (!run.error.empty()) {
          refuse(run.error);
        }
        return ToleranceRecord{std::move(run), goalSwr};
      },
      py::arg("network"), py::kw_only(), py::arg("tolerance") = py::none(),
      py::arg("tolerance_l") = py::none(), py::arg("tolerance_c") = py::none(),
      py::arg("trials") = DEFAULT_TRIALS, py::arg("seed") = DEFAULT_SEED,
      py::arg("goal_swr") = DEFAULT_GOAL_SWR,
      "bandmatch-export's tolerance trials of a network (its --tolerance options): every L and "
      "C of positions 2 to N (and a measured load's retuning element) drawn uniformly within "
      "tolerance_l or tolerance_c percent (each defaults to tolerance; 0 to 50), `trials` "
      "trials from `seed`, the yield against `goal_swr`.");
}

// A search end: a LoadData (measured over the band), or the text of a resistance or a model.
NetworkEnd searchEnd(const py::handle& value, const char* role, double f1, double f2) {
  if (py::isinstance<LoadRecord>(value)) {
    EndParse measured = measuredEnd(*value.cast<const LoadRecord&>().load, f1, f2, f1, f2);
    if (!measured.end) {
      refuse(std::string(role) + ": " + measured.error);
    }
    return std::move(*measured.end);
  }
  if (!py::isinstance<py::str>(value)) {
    throw py::type_error(std::string(role) +
                         ": ohms, a model's text or a LoadData is needed, found " +
                         typeName(value));
  }
  const std::string typed = value.cast<std::string>();
  TypedSearchEnd end = typedSearchEnd(typed, role);
  if (!end.end) {
    refuse(end.file ? std::string(role) + " " + quotedText(printableText(typed)) +
                          " is no resistance, series: or parallel: model"
                    : end.error);
  }
  return std::move(*end.end);
}

void defineSearch(py::module_& m) {
  m.def(
      "_search",
      [](const py::handle& source, const py::handle& load, const std::string& sourceName,
         const std::string& loadName, double f1Hz, double f2Hz, int maxParts,
         std::optional<std::string> topology, std::optional<std::string> series,
         std::optional<double> qInductor, std::optional<double> qCapacitor, double lineLossDb) {
        const double f1 = f1Hz / 1e6;
        const double f2 = f2Hz / 1e6;
        if (!(f1 > 0.0) || !(f2 > f1) || !std::isfinite(f2)) {
          refuse("the band must have 0 < f1 < f2, found f1 = " + formatFullPrecision(f1Hz) +
                 " Hz and f2 = " + formatFullPrecision(f2Hz) + " Hz");
        }
        if (maxParts < 1 || maxParts > SEARCH_MAX_MAX_PARTS) {
          refuse("max_parts must be a whole number from 1 to " +
                 formatInteger(SEARCH_MAX_MAX_PARTS) + ", found " + formatInteger(maxParts));
        }
        if (!(lineLossDb >= 0.0) || lineLossDb > 100.0) {
          refuse("line_loss_db must be a number from 0 to 100");
        }
        SearchRequest request;
        request.source = searchEnd(source, "the source", f1, f2);
        request.load = searchEnd(load, "the load", f1, f2);
        request.sourceName = sourceName;
        request.loadName = loadName;
        request.f1 = f1;
        request.f2 = f2;
        request.maxParts = maxParts;
        if (topology) {
          TopologyParse parse = parseTopology(*topology);
          if (!parse.error.empty()) {
            refuse("topology: " + parse.error);
          }
          request.topology = parse.topology;
        }
        if (series) {
          request.series = preferredSeriesFromName(*series);
          if (!request.series) {
            refuse("series must be one of E12, E24, E48, E96 and E192, found " +
                   quotedText(*series));
          }
        }
        for (const auto& [q, name] : {std::pair{qInductor, "q_inductor"},
                                      std::pair{qCapacitor, "q_capacitor"}}) {
          if (q && !(*q > 0.0 && std::isfinite(*q))) {
            refuse(std::string(name) + " must be a number above 0");
          }
        }
        request.inductorQ = qInductor.value_or(LOSSLESS_Q);
        request.capacitorQ = qCapacitor.value_or(LOSSLESS_Q);
        request.lineLossDb = lineLossDb;
        request.sweep = sweepAroundBand(f1, f2, DEFAULT_SWEEP_SPAN, DEFAULT_SWEEP_POINTS);
        request.threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
        SearchOutcome outcome;
        {
          py::gil_scoped_release unlocked;
          outcome = searchNetworks(std::move(request), [] { return 0.0; });
        }
        const SearchContext context{outcome.sourceName, outcome.loadName, outcome.topologies,
                                    outcome.seconds};
        return std::pair{jsonText(searchJson(outcome.problem, outcome.result, context)),
                         searchRanking(outcome)};
      },
      py::arg("source"), py::arg("load"), py::arg("source_name"), py::arg("load_name"),
      py::arg("f1"), py::arg("f2"), py::arg("max_parts"), py::arg("topology"), py::arg("series"),
      py::arg("q_inductor"), py::arg("q_capacitor"), py::arg("line_loss_db"),
      "bandmatch-search's ranking as its --json document and its printed summary.");
}

}  // namespace

}  // namespace bandmatch

PYBIND11_MODULE(_bandmatch, m) {
  m.doc() =
      "The bandmatch libraries: the console program's design and the companion programs' "
      "fit, build, tuning and tolerance trials.";
  m.attr("__version__") = std::string(bandmatch::PROJECT_VERSION);
  bandmatch::defineDesign(m);
  bandmatch::defineMeasured(m);
  bandmatch::defineNetworks(m);
  bandmatch::defineRuns(m);
  bandmatch::defineSearch(m);
}
