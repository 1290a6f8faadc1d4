#pragma once

#include <QVector>

class ExtraArgs;
class ProfileTrace;

// Computes all enabled parameters of each trace into its results, as
// ExtraArgs::calculateAll does after emptying the trace's filtered-profile
// caches, one trace after the other; `args` is left as that would leave it.
// The work runs in parallel: first every trace's caches are emptied and
// refilled with the filtered profiles that the calculations will read (its
// own, and those of the additional traces of a main trace), one task per
// trace; then each trace's parameters are computed by a task of its own. The
// results are the same as those of one trace after the other.
void recalculateParameters(ExtraArgs& args, const QVector<ProfileTrace*>& traces);
