#pragma once

namespace Algos {

// The standard profile filter cut-off (micrometres) for a measured Ra
// (micrometres) under a standard: 0 and 1 are the two tables the settings
// offer, any other standard gives 0.
int standardCutOff(double ra, int standard);

// standardCutOff under the setting "preferenses/standartisation_value".
int autoCutOff(double ra);

} // namespace Algos
