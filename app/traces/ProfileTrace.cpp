#include "ProfileTrace.h"

#include <algorithm>
#include <cmath>

#include "Constants.h"
#include "GaussFilter.h"
#include "MedianFilter.h"
#include "ShortWaveCutOff.h"
#include "TraceTypes.h"

ProfileTrace::ProfileTrace() : AbstractTrace(2), filterCutOff(cutOffForIndex(kDefaultCutOffIndex))
{
    type = PROFILE;
}

ProfileTrace::ProfileTrace(const ProfileData& data) : ProfileTrace()
{
    addPoints(data);
}

void ProfileTrace::addAdditionalTrace(ProfileTrace* trace)
{
    trace->parentTrace = this;
    trace->setFilePath(filePath());
    additionalTraces.append(trace);
}

void ProfileTrace::removeAdditionalTrace(int id)
{
    const auto linked = [id](const ProfileTrace* trace) { return trace->id == id; };
    additionalTraces.erase(std::remove_if(additionalTraces.begin(), additionalTraces.end(), linked),
                           additionalTraces.end());
}

void ProfileTrace::clearFilteredCache()
{
    QMutexLocker lock(&m_cacheMutex);
    m_roughnessCache.clear();
    m_wavinessCache.clear();
}

ProfileData ProfileTrace::filteredProfile(ProfileTrace* trace, double cutOff, int kind)
{
    if (kind == PRIMARY)
        return *trace->lockedRawData().data;
    if (kind != ROUGHNESS && kind != WAVINESS)
        return {};

    const bool roughness = kind == ROUGHNESS;
    QMap<double, ProfileData>& cache = roughness ? trace->m_roughnessCache : trace->m_wavinessCache;
    {
        QMutexLocker lock(&trace->m_cacheMutex);
        const auto cached = cache.constFind(cutOff);
        if (cached != cache.constEnd())
            return *cached;
    }

    const ProfileData profile = trace->filteredRaw(roughness ? shortWaveCutOff(cutOff) : wavinessSecondCutOff(cutOff));
    // A NaN key would break the map's ordering.
    if (!std::isnan(cutOff)) {
        QMutexLocker lock(&trace->m_cacheMutex);
        cache.insert(cutOff, profile);
    }
    return profile;
}

ProfileData ProfileTrace::filteredRaw(double secondCutOff) const
{
    ProfileData profile = *lockedRawData().data;
    if (medianEnabled)
        Algos::medianFilter(medianWindow, profile);
    return Algos::gaussFilter(profile, filterCutOff, secondCutOff);
}

void ProfileTrace::processDisplay(ProfileData& display, SpareColumns& spares) const
{
    Q_UNUSED(display)
    Q_UNUSED(spares)
}
