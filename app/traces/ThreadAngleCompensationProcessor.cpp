#include "ThreadAngleCompensationProcessor.h"

#include <QtMath>

#include <cmath>

ThreadAngleCompensationProcessor::ThreadAngleCompensationProcessor(double angle)
    : IDataPostProcessor(QStringLiteral("Angle ") + QString::number(angle, 'g', 6))
    , m_angle(angle)
{
}

void ThreadAngleCompensationProcessor::process(ProfileData& data)
{
    if (data.isEmpty())
        return;
    const double factor = std::cos(qDegreesToRadians(m_angle));
    for (double& x : data[0])
        x *= factor;
}

double ThreadAngleCompensationProcessor::mapX(double x) const
{
    return x * std::cos(qDegreesToRadians(m_angle));
}
