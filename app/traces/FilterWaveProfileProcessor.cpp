#include "FilterWaveProfileProcessor.h"

#include "GaussFilter.h"
#include "ShortWaveCutOff.h"

FilterWaveProfileProcessor::FilterWaveProfileProcessor(double cutOff)
    : IDataPostProcessor(QStringLiteral("Filter ") + QString::number(cutOff, 'g', 6))
    , m_cutOff(cutOff)
{
}

void FilterWaveProfileProcessor::process(ProfileData& data)
{
    data = Algos::gaussFilter(data, m_cutOff, wavinessSecondCutOff(m_cutOff));
}
