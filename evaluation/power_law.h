#pragma once

// The frequency power law of the test figure, Z = 3.629e-05 * y^0.5283 + 0.1087 in single
// precision, y being the frequency scaled as the figure scales it. It is the figure's one power of
// a value that differs from point to point, so its cost is most of the figure's where the system's
// pow() is slow (the x87 pow of the MinGW runtime takes about 60 ns).

namespace ambersel {

// Z for the scaled frequency `y`: exactly, bit for bit, what
//     static_cast<float>(3.629e-05 * std::pow(y, 0.5283) + 0.1087)
// gives with this system's pow(), one double operation at a time. Most values of y take a path
// without pow(): y^0.5283 from tables and a short series, with an error bound far below the one
// that decides the float, and pow() only where that bound leaves the float in doubt (about one
// value of y in half a million), where y is not a positive finite double, or where it lies
// outside what a float frequency gives.
float frequencyPowerLaw(double y);

// The same by pow() alone, the definition that frequencyPowerLaw() must match.
float frequencyPowerLawByPow(double y);

}  // namespace ambersel
