#include "FilterRoughnessProfileProcessor.h"

#include "GaussFilter.h"
#include "ShortWaveCutOff.h"

FilterRoughnessProfileProcessor::FilterRoughnessProfileProcessor(double cutOff)
    : IDataPostProcessor(QStringLiteral("Filter ") + QString::number(cutOff, 'g', 6))
    , m_cutOff(cutOff)
{
}

void FilterRoughnessProfileProcessor::process(ProfileData& data)
{
    data = Algos::gaussFilter(data, m_cutOff, shortWaveCutOff(m_cutOff));
}
