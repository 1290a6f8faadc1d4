#pragma once

#include <QVector>

class ExtraArgs;
class ProfileTrace;

// Computes all enabled parameters of each trace into its results, in the
// order given, as ExtraArgs::calculateAll does after emptying the trace's
// filtered-profile caches. The filtering, which costs the most, runs first
// and for all traces in parallel: every trace's caches are emptied and
// refilled with the filtered profiles that the calculations will read (its
// own, and those of the additional traces of a main trace). The results are
// the same as those of one trace after the other.
void recalculateParameters(ExtraArgs& args, const QVector<ProfileTrace*>& traces);
