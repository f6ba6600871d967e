#pragma once

// The two powers of the test figure: b = 10^a of a point's level, and the frequency power law
// Z = 3.629e-05 * y^0.5283 + 0.1087. Each ends in single precision, and each is defined by the
// system's pow(); together they are most of the figure's cost where pow() is slow (the x87 pow of
// the MinGW runtime takes about 60 to 160 ns a call, glibc's about 20).
//
// Both give exactly, bit for bit, what their definition by pow() gives, one double operation at a
// time. Most arguments take a path without pow(): the power from tables of pow()'s own values and
// a short series, whose error (below 2^-50 of the power) is far inside a bound (2^-44) that is
// checked to leave the float in no doubt. pow() decides where it does (about one argument in half
// a million), and for arguments outside the tables' range or not finite.

namespace ambersel {

// static_cast<float>(std::pow(10.0, double{a})).
float tenToThe(float a);

// static_cast<float>(3.629e-05 * std::pow(y, 0.5283) + 0.1087), for the frequency scaled as the
// figure scales it.
float frequencyPowerLaw(double y);

// The same by pow() alone: the definitions that the two above must match.
float tenToTheByPow(float a);
float frequencyPowerLawByPow(double y);

}  // namespace ambersel
