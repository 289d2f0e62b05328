// The one place that turns numbers into report and prompt text: fixed p, scientific p with a
// three-digit exponent, and integer. The same text on every target: the programs never leave the
// "C" locale, and the WebAssembly build's printf rounds like the native one.
#pragma once

#include <string>

namespace bandmatch {

// Fixed-point notation with exactly `digits` digits after the point ("0.500000").
std::string formatFixed(double value, int digits);

// One digit, the point, `digits` digits, 'e', the exponent's sign and at least three exponent
// digits ("2.000000000e+001").
std::string formatScientific(double value, int digits);

// The value a file holds after formatScientific(value, digits) is written and read back: what a
// network written to a report is when a program rebuilds it.
double roundedAsScientific(double value, int digits);

// Seventeen significant digits in scientific notation, enough to read back the same double.
std::string formatFullPrecision(double value);

// A plain decimal the console's number reader takes: digits and at most one point, no sign, no
// exponent; rounded to `significantDigits` significant digits, trailing zeros after the point
// dropped ("3.5", "0.000125", "1000000"). For finite values of at least 0.
std::string formatPlainDecimal(double value, int significantDigits);

// Plain decimal digits with a leading minus sign when negative.
std::string formatInteger(long long value);

// Plain decimal digits of an unsigned 64-bit number (a seed).
std::string formatUnsignedInteger(unsigned long long value);

}  // namespace bandmatch
