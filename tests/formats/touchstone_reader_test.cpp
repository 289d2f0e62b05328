// The one-port reader against files written here from a known impedance by the textbook
// conversions (S = (Z - R)/(Z + R), Z and Y normalized to R in version 1, in ohms and siemens in
// version 2.0), and against every kind of bad file, each refused with its line.
#include "formats/touchstone_reader.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace bandmatch {
namespace {

using Complex = std::complex<double>;

const std::vector<double> FREQUENCIES_MHZ = {1.5, 2.0, 2.5};
const std::vector<Complex> IMPEDANCES = {{30.0, -40.0}, {42.0, 5.5}, {61.0, 80.0}};

struct Unit {
  const char* name;
  double perMHz;
};

// A value pair of the given format, written with enough digits to carry the double.
std::string pair(const std::string& format, Complex value) {
  std::ostringstream text;
  text.precision(17);
  const double degrees = std::arg(value) * 180.0 / std::numbers::pi;
  if (format == "RI") {
    text << value.real() << ' ' << value.imag();
  } else if (format == "MA") {
    text << std::abs(value) << ' ' << degrees;
  } else {
    text << 20.0 * std::log10(std::abs(value)) << ' ' << degrees;
  }
  return text.str();
}

Complex parameterOf(const std::string& parameter, Complex z, double reference, bool normalized) {
  if (parameter == "S") {
    return (z - reference) / (z + reference);
  }
  if (parameter == "Z") {
    return normalized ? z / reference : z;
  }
  return normalized ? reference / z : 1.0 / z;
}

void expectLoad(const TouchstoneReading& reading, const std::string& context) {
  ASSERT_TRUE(reading.load) << context << ": " << reading.error;
  ASSERT_EQ(reading.load->frequencyMHz.size(), FREQUENCIES_MHZ.size()) << context;
  for (std::size_t i = 0; i < FREQUENCIES_MHZ.size(); ++i) {
    EXPECT_NEAR(reading.load->frequencyMHz[i], FREQUENCIES_MHZ[i], 1e-12) << context;
    EXPECT_NEAR(reading.load->impedance[i].real(), IMPEDANCES[i].real(), 1e-9) << context;
    EXPECT_NEAR(reading.load->impedance[i].imag(), IMPEDANCES[i].imag(), 1e-9) << context;
  }
}

TEST(TouchstoneReader, ReadsEveryOptionCombinationOfVersion1) {
  const std::vector<Unit> units = {{"Hz", 1e6}, {"kHz", 1e3}, {"MHZ", 1.0}, {"ghz", 1e-3}};
  for (const Unit& unit : units) {
    for (const std::string parameter : {"S", "Y", "Z"}) {
      for (const std::string format : {"MA", "DB", "RI"}) {
        for (const double reference : {50.0, 75.0}) {
          std::ostringstream file;
          file.precision(17);
          // The option words may come in any order and any letter case.
          file << "! generated\n# " << format << ' ' << unit.name << " R " << reference << ' '
               << parameter << "   ! trailing comment\n";
          for (std::size_t i = 0; i < FREQUENCIES_MHZ.size(); ++i) {
            file << FREQUENCIES_MHZ[i] * unit.perMHz << ' '
                 << pair(format, parameterOf(parameter, IMPEDANCES[i], reference, true)) << '\n';
          }
          expectLoad(readTouchstone(file.str()),
                     std::string(unit.name) + " " + parameter + " " + format);
        }
      }
    }
  }
}

TEST(TouchstoneReader, TakesTheDefaultsWithoutAnOptionLine) {
  // GHz, S, MA, R 50.
  std::ostringstream file;
  file.precision(17);
  for (std::size_t i = 0; i < FREQUENCIES_MHZ.size(); ++i) {
    file << FREQUENCIES_MHZ[i] / 1000.0 << "\t"
         << pair("MA", parameterOf("S", IMPEDANCES[i], 50.0, true)) << "\r\n";
  }
  expectLoad(readTouchstone(file.str()), "defaults");
}

TEST(TouchstoneReader, ReadsVersion2InOhmsAndSiemens) {
  for (const std::string parameter : {"S", "Y", "Z"}) {
    std::ostringstream file;
    file.precision(17);
    file << "! a version 2.0 file\n[Version] 2.0\n# MHz " << parameter << " RI R 50\n"
         << "[Number of Ports] 1\n[Number of Frequencies] 3\n[Reference]\n75\n"
         << "[Begin Information]\nanything here [is not read]\n[End Information]\n"
         << "[Network Data]\n";
    for (std::size_t i = 0; i < FREQUENCIES_MHZ.size(); ++i) {
      // [Reference] overrides the option line's R; the values may continue on the next line.
      const std::string values = pair("RI", parameterOf(parameter, IMPEDANCES[i], 75.0, false));
      const std::size_t blank = values.find(' ');
      file << FREQUENCIES_MHZ[i] << ' ' << values.substr(0, blank) << "\n  "
           << values.substr(blank + 1) << " ! one point\n";
    }
    file << "[End]\nafter the end nothing is read\n";
    // A signed number and a bare version number are read as well.
    if (parameter == "Z") {
      std::string text = file.str();
      text.replace(text.find("[Version] 2.0"), 13, "[Version] 2");
      text.replace(text.find("\n1.5 "), 5, "\n+1.5 ");
      expectLoad(readTouchstone(text), "version 2 with signs");
    }
    expectLoad(readTouchstone(file.str()), "version 2.0 " + parameter);
  }
}

struct BadFile {
  const char* what;
  std::string text;
  std::string error;
};

TEST(TouchstoneReader, RefusesBadFilesNamingTheLine) {
  const std::string v2Head = "[Version] 2.0\n# MHz Z RI\n[Number of Ports] 1\n";
  const std::vector<BadFile> cases = {
      {"no option line in 2.0",
       "[Version] 2.0\n[Number of Ports] 1\n[Number of Frequencies] 1\n"
       "[Network Data]\n1 50 0\n[End]\n",
       "line 4: no option line (# unit parameter format R ohms) before [Network Data]"},
      {"two-port of version 1", "# MHz S RI R 50\n1 0.1 0 0.9 0 0.9 0 0.1 0\n",
       "line 2: 9 values on one line; a one-port point is a frequency and one pair of values "
       "(a two-port or larger file?)"},
      {"two-port of version 2", "[Version] 2.0\n# MHz S RI R 50\n[Number of Ports] 2\n",
       "line 3: a 2-port file; only one-port files describe a load"},
      {"not a number", "# MHz Z RI R 50\n1 1 0\n2 one 0\n", "line 3: \"one\" is not a number"},
      {"not a finite number", "# MHz Z RI R 50\n1 nan 0\n", "line 2: \"nan\" is not a number"},
      {"falling frequency", "# MHz Z RI R 50\n1 1 0\n3 1 0\n2 1 0\n",
       "line 4: frequencies not strictly increasing: 2.000000 MHz after 3.000000 MHz"},
      {"repeated frequency", "# MHz Z RI R 50\n1 1 0\n1 1 0\n",
       "line 3: frequencies not strictly increasing: 1.000000 MHz after 1.000000 MHz"},
      {"negative frequency", "# MHz Z RI R 50\n-1 1 0\n", "line 2: negative frequency"},
      {"overflowing frequency", "# GHz Z RI R 50\n1e308 1 0\n",
       "line 2: the frequency 1.000000e+308 is out of range"},
      {"open circuit", "# MHz S RI R 50\n1 1 0\n", "line 2: the value at 1.000000 MHz is an open"},
      {"incomplete point", "# MHz Z RI R 50\n1 1 0\n2 1\n",
       "line 3: the file ends inside this point, after 2 of its 3 values"},
      {"point running on", "# MHz Z RI R 50\n1 1\n0 2\n",
       "line 3: more values than the point begun on line 2 takes"},
      {"unknown option", "# MHz Z XY R 50\n", "line 1: unknown option \"XY\" in the option line"},
      {"G parameters", "# MHz G RI R 50\n", "line 1: G parameters describe two-ports"},
      {"no reference value", "# MHz Z RI R\n", "line 1: R in the option line needs a resistance"},
      {"second option line", "# MHz Z RI R 50\n# GHz S MA R 50\n", "line 2: a second option"},
      {"option line after data", "1 0.5 0\n# MHz Z RI R 50\n",
       "line 2: the option line comes after data"},
      {"keyword in version 1", "# MHz Z RI R 50\n[Number of Ports] 1\n",
       "line 2: keyword [Number of Ports] in a version 1 file"},
      {"unread version", "[Version] 3.0\n", "line 1: Touchstone version \"3.0\" is not read"},
      {"unknown keyword", v2Head + "[Colour] blue\n", "line 4: unknown keyword [Colour]"},
      {"data before network data", v2Head + "1 50 0\n", "line 4: data before [Network Data]"},
      {"no number of frequencies", v2Head + "[Network Data]\n",
       "line 4: no [Number of Frequencies] before [Network Data]"},
      {"no end", v2Head + "[Number of Frequencies] 1\n[Network Data]\n1 50 0\n",
       "line 6: the file ends without [End]"},
      {"count mismatch", v2Head + "[Number of Frequencies] 2\n[Network Data]\n1 50 0\n[End]\n",
       "line 4: [Number of Frequencies] is 2 but the data hold 1 points"},
      {"bad reference", v2Head + "[Reference] 50 75\n", "line 4: [Reference] of a one-port"},
      {"noise data", v2Head + "[Noise Data]\n", "line 4: noise data belong to two-port files"},
      {"keyword without bracket", "[Version 2.0\n", "line 1: keyword without its closing ]"},
      {"second version", "[Version] 2.0\n[Version] 2.0\n", "line 2: a second [Version]"},
      {"ports not a number", "[Version] 2.0\n[Number of Ports] one\n",
       "line 2: [Number of Ports] must be a whole number, found \"one\""},
      {"no frequencies", v2Head + "[Number of Frequencies] 0\n",
       "line 4: [Number of Frequencies] must be a whole number above 0"},
      {"reference without value",
       v2Head + "[Number of Frequencies] 1\n[Reference]\n[Network Data]\n",
       "line 6: [Reference] has no value"},
      {"no ports", "[Version] 2.0\n# MHz Z RI\n[Number of Frequencies] 1\n[Network Data]\n",
       "line 4: no [Number of Ports] before [Network Data]"},
      {"no network data", v2Head + "[Number of Frequencies] 1\n",
       "line 4: the file ends without [Network Data]"},
      {"zero reference", "# MHz Z RI R 0\n", "line 1: R in the option line needs a resistance"},
      {"no data", "! only a comment\n# MHz Z RI R 50\n",
       "line 2: the file ends without any data point"},
  };
  for (const BadFile& c : cases) {
    const TouchstoneReading reading = readTouchstone(c.text);
    EXPECT_FALSE(reading.load) << c.what;
    EXPECT_EQ(reading.error.rfind(c.error, 0), 0u) << c.what << ": " << reading.error;
    EXPECT_EQ(reading.error.find('\n'), std::string::npos) << c.what;
  }
}

// A file in GHz or Hz converts to MHz with a rounding error (0.0041 * 1000 is 4.1000000000000005,
// 4400000 * 1e-6 is 4.3999999999999995); such a point still lies on the band edge. A byte-order
// mark before the first line is read past.
TEST(TouchstoneReader, CountsPointsOnTheBandEdgesAfterUnitConversion) {
  for (const std::string text : {"# GHz Z RI R 50\n0.0041 1 0\n0.0042 1 0\n0.0044 1 0\n",
                                 "# Hz Z RI R 50\n4100000 1 0\n4200000 1 0\n4400000 1 0\n",
                                 "\xEF\xBB\xBF[Version] 2.0\n# MHz Z RI\n[Number of Ports] 1\n"
                                 "[Number of Frequencies] 3\n[Network Data]\n4.1 50 0\n4.2 50 0\n"
                                 "4.4 50 0\n[End]\n"}) {
    const TouchstoneReading reading = readTouchstone(text);
    ASSERT_TRUE(reading.load) << reading.error;
    const BandPoints band = pointsInBand(*reading.load, 4.1, 4.4);
    EXPECT_EQ(band.error, "") << text;
    EXPECT_EQ(band.last - band.first, 2u) << text;
  }
}

}  // namespace
}  // namespace bandmatch
