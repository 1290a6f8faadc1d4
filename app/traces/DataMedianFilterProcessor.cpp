#include "DataMedianFilterProcessor.h"

#include "MedianFilter.h"

DataMedianFilterProcessor::DataMedianFilterProcessor(int window)
    : IDataPostProcessor(QStringLiteral("Median") + QString::number(window))
    , m_window(window)
{
}

void DataMedianFilterProcessor::process(ProfileData& data)
{
    Algos::medianFilter(m_window, data);
}
