#pragma once

#include <QVector>

#include <memory>

#include "ProfileData.h"
#include "SampledProfile.h"

namespace Algos {

// Keeps the SampledProfile of every profile asked for, so that many
// parameters of the same profile share one split and one set of mean lines.
// A profile is recognised by the storage of its columns: each entry holds a
// copy of its profile, so that storage cannot be freed and reused, and a
// change to a copy of the profile detaches it into new storage.
class SampledProfileCache
{
public:
    std::shared_ptr<const SampledProfile> get(const ProfileData& profile, double samplingLength);

private:
    QVector<std::shared_ptr<const SampledProfile>> m_entries;
};

} // namespace Algos
