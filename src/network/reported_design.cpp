#include "network/reported_design.hpp"

#include "core/number_format.hpp"

namespace bandmatch {

std::string_view loadTypeName(LoadType loadType) {
  return loadType == LoadType::series ? "series load" : "parallel load";
}

std::string designSummary(const ReportedDesign& design) {
  constexpr int bandEdgeDigits = 6;  // as the reports show them
  return "N = " + formatInteger(design.N) + ", band " + formatFixed(design.f1, bandEdgeDigits) +
         " to " + formatFixed(design.f2, bandEdgeDigits) + " MHz, " +
         std::string(loadTypeName(design.loadType));
}

}  // namespace bandmatch
