// A chosen cascade as its files describe it: the network, its two ends as the user named them
// and as the files can write them (a measured one-port with the lumped model fitted to it), and
// the band it was matched over.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "network/measured_load.hpp"
#include "network/network_end.hpp"
#include "network/two_port.hpp"

namespace bandmatch {

struct CascadeEnd {
  NetworkEnd end;  // a resistance, a lumped model, or (kind measured) a one-port's data
  std::string name;  // as the user gave it: "50", "series:R=12.5,L=1.2u", "amp.s1p"
  ImpedanceAt impedanceAt;
  // A measured end's series or parallel R-L-C fitted over the band, which a netlist simulates in
  // its place; none for the other ends, or where no model with positive L and C fits.
  std::optional<NetworkEnd> fitted;
  double fitError = 0.0;  // the model's largest |Z(model) - Z(data)| / |Z(data)| over the band
  const std::vector<double>* dataMHz = nullptr;  // a measured end's frequencies
};

struct MatchedCascade {
  CascadeNetwork network;
  CascadeEnd source;
  CascadeEnd load;
  double f1 = 0.0;  // MHz
  double f2 = 0.0;  // MHz
};

// A resistance or a lumped model as an end.
CascadeEnd modelEnd(const NetworkEnd& end, std::string name);

// A measured one-port as an end, interpolated between its points, with the model of smaller
// worst error over the band's points among the series and parallel R-L-C fits that have positive
// L and C. None when the data do not cover [f1, f2]. The load must outlive the end.
std::optional<CascadeEnd> measuredEnd(const MeasuredLoad& load, std::string name, double f1,
                                      double f2);

// "pC sL|C from 50 to dipole.s1p, band 3.500000 to 4.000000 MHz".
std::string cascadeSummary(const MatchedCascade& cascade);

}  // namespace bandmatch
