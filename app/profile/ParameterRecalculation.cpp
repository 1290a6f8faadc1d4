#include "ParameterRecalculation.h"

#include <QMap>
#include <QPair>
#include <QSet>
#include <QtConcurrent>

#include <cmath>
#include <numeric>

#include "ExtraArgs.h"
#include "ProfileParams.h"
#include "ProfileTrace.h"
#include "TraceTypes.h"

namespace {

// A filtered profile of one trace: its kind and the cut-off it is cached under.
using FilteredProfileKey = QPair<int, double>;

struct TraceFiltering
{
    ProfileTrace* trace = nullptr;
    QVector<FilteredProfileKey> profiles;
};

// The kinds of filtered profile that the enabled parameters are computed on.
QSet<int> enabledKinds()
{
    QSet<int> kinds;
    for (const QString& name : ExtraArgs::enabledParameterNames()) {
        const auto entry = profileParams.constFind(name);
        if (entry != profileParams.constEnd())
            kinds.insert(entry->kind);
    }
    return kinds;
}

// What ExtraArgs::calculateAll filters for each trace: the roughness of the
// trace itself for the material-ratio curve and, on a trace long enough for
// its parameters, each filtered kind of the trace and of its additional
// traces, all under the trace's cut-off.
QVector<TraceFiltering> filteringOf(const QVector<ProfileTrace*>& traces)
{
    const QSet<int> kinds = enabledKinds();
    QMap<ProfileTrace*, QVector<FilteredProfileKey>> wanted;
    const auto want = [&wanted](ProfileTrace* trace, int kind, double cutOff) {
        // A cut-off that is not a number is never cached.
        if (kind == PRIMARY || std::isnan(cutOff) || wanted[trace].contains({kind, cutOff}))
            return;
        wanted[trace].append({kind, cutOff});
    };
    for (ProfileTrace* trace : traces) {
        const double cutOff = trace->filterCutOff;
        want(trace, ROUGHNESS, cutOff);
        if (2 * cutOff > trace->length())
            continue;
        for (int kind : kinds) {
            for (ProfileTrace* additional : qAsConst(trace->additionalTraces))
                want(additional, kind, cutOff);
            want(trace, kind, cutOff);
        }
    }
    QVector<TraceFiltering> filtering;
    for (auto it = wanted.cbegin(); it != wanted.cend(); ++it)
        filtering.append({it.key(), it.value()});
    return filtering;
}

} // namespace

void recalculateParameters(ExtraArgs& args, const QVector<ProfileTrace*>& traces)
{
    QVector<TraceFiltering> filtering = filteringOf(traces);
    for (ProfileTrace* trace : traces)
        trace->clearFilteredCache();
    for (const TraceFiltering& entry : qAsConst(filtering))
        entry.trace->clearFilteredCache();
    // Each task fills the caches of one trace only.
    QtConcurrent::blockingMap(filtering, [](const TraceFiltering& entry) {
        for (const FilteredProfileKey& profile : entry.profiles)
            ProfileTrace::filteredProfile(entry.trace, profile.second, profile.first);
    });
    // Each calculation writes the results of its own trace only.
    QVector<ExtraArgs> calculations(traces.size(), args);
    QVector<int> positions(traces.size());
    std::iota(positions.begin(), positions.end(), 0);
    QtConcurrent::blockingMap(positions, [&](int position) { calculations[position].calculateAll(traces[position]); });
    if (!calculations.isEmpty())
        args = calculations.last();
}
