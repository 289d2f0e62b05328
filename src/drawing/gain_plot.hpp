// The SVG plot of one chosen network against frequency in two panels over one frequency axis:
// its transducer gain above, its return loss below, the band shaded, and each judged worst
// level drawn in its curve's colour and labelled beside it.
#pragma once

#include <string>
#include <vector>

namespace bandmatch {

// What the plot shows, in plain values, so that any front end can draw it.
struct GainPlot {
  std::string title;
  std::string subtitle;
  std::vector<double> frequencyMHz;  // ascending
  std::vector<double> transducerGain;  // power ratio at each frequency
  std::vector<double> reflection;      // |Gamma| at each frequency
  double f1 = 0.0;                     // MHz
  double f2 = 0.0;                     // MHz
  double worstGain = 1.0;              // judged over the band, power ratio
  double worstReflection = 0.0;        // judged over the band
};

// The whole SVG document. The gain curve is the polyline with id "gain", the return loss the one
// with id "return-loss", one vertex per frequency.
std::string renderGainPlot(const GainPlot& plot);

}  // namespace bandmatch
