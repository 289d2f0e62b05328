// How a report's network is named in the files written for it.
#include "network/reported_design.hpp"

#include <gtest/gtest.h>

namespace bandmatch {
namespace {

TEST(ReportedDesign, SummarisesTheBandAndTheLoad) {
  ReportedDesign design;
  design.N = 3;
  design.f1 = 10.0;
  design.f2 = 20.0;
  EXPECT_EQ(designSummary(design), "N = 3, band 10.000000 to 20.000000 MHz, series load");
  design.N = 10;
  design.loadType = LoadType::parallel;
  design.f1 = 0.5;
  design.f2 = 999999.99999;
  EXPECT_EQ(designSummary(design), "N = 10, band 0.500000 to 999999.999990 MHz, parallel load");
}

}  // namespace
}  // namespace bandmatch
