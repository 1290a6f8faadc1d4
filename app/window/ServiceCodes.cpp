#include "ServiceCodes.h"

bool isServicePassword(const QString& text)
{
    return text == QLatin1String("7316");
}

bool isDeveloperCode(const QString& text)
{
    return text == QLatin1String("846");
}
