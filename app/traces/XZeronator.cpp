#include "XZeronator.h"

XZeronator::XZeronator() : IDataPostProcessor(QStringLiteral("XZeronator")) {}

void XZeronator::process(ProfileData& data)
{
    if (data.isEmpty() || data[0].isEmpty())
        return;
    const double first = data[0].first();
    for (double& x : data[0])
        x -= first;
}
