#include "XZeronator.h"

#include "algos/Geometry.h"

XZeronator::XZeronator() : IDataPostProcessor(QStringLiteral("XZeronator")) {}

void XZeronator::process(ProfileData& data)
{
    if (data.isEmpty() || data[0].isEmpty())
        return;
    m_shift = -data[0].first();
    Algos::addConstant(data[0], m_shift);
}

double XZeronator::mapX(double x) const
{
    return x + m_shift;
}
