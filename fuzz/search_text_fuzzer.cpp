// Feeds arbitrary bytes to the text parsers of bandmatch-search's command line: an end (a
// resistance or a series or parallel R-L-C model), a topology, and a substrate. Each either reads
// or gives one line of reason; what reads keeps its promises: an end's values finite and above
// zero, a topology written back in the grammar reading as the same topology, a substrate with
// er >= 1, h > 0 and 0 <= t < h.
#include <cmath>
#include <complex>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz_check.hpp"
#include "network/microstrip.hpp"
#include "network/network_end.hpp"
#include "network/topology.hpp"

namespace {

using bandmatch::fuzzing::check;

bool positiveFinite(double value) {
  return value > 0.0 && std::isfinite(value);
}

bool oneLine(const std::string& text) {
  return !text.empty() && text.find('\n') == std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace bandmatch;
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  const EndParse end = parseNetworkEnd(text);
  if (end.end) {
    check(end.end->kind != EndKind::measured);
    check(positiveFinite(end.end->resistance));
    check(!end.end->inductance || positiveFinite(*end.end->inductance));
    check(!end.end->capacitance || positiveFinite(*end.end->capacitance));
    const std::optional<std::complex<double>> impedance = endImpedance(*end.end, 10.0);
    check(impedance.has_value());
  } else {
    check(oneLine(end.error));
  }

  const TopologyParse topology = parseTopology(text);
  if (topology.error.empty()) {
    const TopologyParse again = parseTopology(topologyText(topology.topology));
    check(again.error.empty() && again.topology == topology.topology);
  } else {
    check(oneLine(topology.error));
  }

  const SubstrateParse substrate = parseSubstrate(text);
  if (substrate.substrate) {
    const Substrate& board = *substrate.substrate;
    check(board.permittivity >= 1.0 && std::isfinite(board.permittivity));
    check(positiveFinite(board.height));
    check(board.thickness >= 0.0 && board.thickness < board.height);
  } else {
    check(oneLine(substrate.error));
  }
  return 0;
}
