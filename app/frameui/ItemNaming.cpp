#include "ItemNaming.h"

QString uniqueItemName(const QString& edited, const QString& textBeforeEdit, const QStringList& otherNames)
{
    const QString base = edited.isEmpty() ? textBeforeEdit : edited;
    QString candidate = base;
    for (int n = 1; otherNames.contains(candidate); ++n)
        candidate = base + QString::number(n);
    return candidate;
}
