#include "SampledProfileCache.h"

namespace Algos {

namespace {

bool sameColumns(const ProfileData& a, const ProfileData& b)
{
    if (a.size() != b.size())
        return false;
    for (int column = 0; column < a.size(); ++column) {
        if (a.at(column).constData() != b.at(column).constData() || a.at(column).size() != b.at(column).size())
            return false;
    }
    return true;
}

} // namespace

std::shared_ptr<const SampledProfile> SampledProfileCache::get(const ProfileData& profile, double samplingLength)
{
    for (const std::shared_ptr<const SampledProfile>& entry : qAsConst(m_entries)) {
        if (entry->samplingLength() == samplingLength && sameColumns(entry->profile(), profile))
            return entry;
    }
    m_entries.append(std::make_shared<const SampledProfile>(profile, samplingLength));
    return m_entries.last();
}

} // namespace Algos
