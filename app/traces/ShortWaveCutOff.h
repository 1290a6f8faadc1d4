#pragma once

// The short-wave cut-off (micrometres) that goes with a profile filter
// cut-off: 8/3 for 80, 2.5 for 250, a three-hundredth of any other value.
double shortWaveCutOff(double cutOff);

// The second cut-off of the waviness band of a cut-off: twice the cut-off,
// computed through the short-wave cut-off as the stored results were.
double wavinessSecondCutOff(double cutOff);
