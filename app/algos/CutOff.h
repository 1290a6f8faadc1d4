#pragma once

namespace Algos {

// The standard profile filter cut-off (micrometres) for a measured Ra
// (micrometres) under a standard: 0 and 1 are the two tables the settings
// offer, any other standard gives 0.
int standardCutOff(double ra, int standard);

// standardCutOff under the setting "preferenses/standartisation_value".
int autoCutOff(double ra);

// The cut-off of kCutOffValues to use on a profile `length` micrometres long
// instead of `standard`: `standard` itself when it is listed and fits twice
// into the length, else the nearest listed cut-off that fits (the first in
// list order on a tie), else `current` when none fits.
int fittingCutOff(int standard, double length, int current);

} // namespace Algos
