#include "PlotAxisTicker.h"

QSharedPointer<PlotAxisTicker> PlotAxisTicker::of(const QCPAxis* axis)
{
    return qSharedPointerDynamicCast<PlotAxisTicker>(axis->ticker());
}

QString PlotAxisTicker::getTickLabel(double tick, const QLocale& locale, QChar formatChar, int precision)
{
    return QCPAxisTicker::getTickLabel(tick, locale, formatChar, precision) + m_tickLabelSuffix;
}
