#include "Constants.h"

const QString kUnknownText = QStringLiteral("неизвестно");

const QVector<double> kCutOffValues = {8000, 2500, 800, 250, 80};

double cutOffForIndex(int index)
{
    const bool listed = index >= 0 && index < kCutOffValues.size();
    return kCutOffValues.at(listed ? index : kDefaultCutOffIndex);
}
