#pragma once

#include "ProcessingOptions.h"

class AbstractTrace;

// The processing chains the profile workspace gives its traces. Profile and
// additional traces are zeroed and may be filtered to their roughness or
// waviness; contour traces are neither. The median filter and the
// thread-angle compensation apply to every kind of trace.
namespace ProcessingChain {

// Appends the chain a new trace starts with: median filter, thread-angle
// compensation, roughness or waviness filter with `cutOff` micrometres,
// zeroing.
void appendFirstChain(AbstractTrace& trace, const ProcessingOptions& options, double cutOff);

// Replaces the trace's chain by the one of the options: median filter,
// thread-angle compensation, zeroing, then the roughness or waviness filter
// with the trace's own cut-off. A profile trace whose cut-off is not a
// positive number (a hand-edited file) gets no filter step: a filter would
// leave nothing of it, so its primary profile is shown instead.
void replaceChain(AbstractTrace& trace, const ProcessingOptions& options);

} // namespace ProcessingChain
