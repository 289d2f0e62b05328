// The Touchstone 1.1 files of a chosen cascade: the network's own two-port (.s2p, S parameters
// referenced to one stated resistance at both ports) and the one-port the source sees with the
// load end attached (.s1p); frequency in MHz, magnitude and angle in degrees.
#pragma once

#include <complex>
#include <string>
#include <string_view>

#include "network/matched_cascade.hpp"
#include "network/sweep.hpp"

namespace bandmatch {

// The resistance both files are referenced to unless asked otherwise: the source's when the
// source is a resistance (the one-port's S11 is then the power-wave reflection the search
// judges), else 50 ohms.
inline constexpr double DEFAULT_REFERENCE_OHMS = 50.0;
double touchstoneReference(const CascadeEnd& source);

struct SParameters {
  std::complex<double> s11;
  std::complex<double> s21;
  std::complex<double> s12;
  std::complex<double> s22;
};

// The S parameters of a two-port's chain matrix, both ports referenced to `referenceOhms`.
SParameters scatteringParameters(const ChainMatrix& chain, double referenceOhms);

// The .s2p text: one line per sweep point in the order S11 S21 S12 S22.
std::string renderTwoPortTouchstone(const MatchedCascade& cascade, const Sweep& sweep,
                                    double referenceOhms, std::string_view program);

// The .s1p text of the input impedance with the load attached, referenced to `referenceOhms`;
// when the source is not that resistance a comment says that S11 is not the power-wave
// reflection towards the source.
std::string renderSourceSideTouchstone(const MatchedCascade& cascade, const Sweep& sweep,
                                       double referenceOhms, std::string_view program);

}  // namespace bandmatch
