#include "XZeronator.h"

#include "algos/Geometry.h"

XZeronator::XZeronator() : IDataPostProcessor(QStringLiteral("XZeronator")) {}

void XZeronator::process(ProfileData& data)
{
    if (data.isEmpty() || data[0].isEmpty())
        return;
    Algos::addConstant(data[0], -data[0].first());
}
