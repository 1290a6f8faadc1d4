#include "PlotAxisTicker.h"

#include <QFontMetricsF>

#include <cmath>

PlotAxisTicker::PlotAxisTicker(QCPAxis* axis)
    : m_axis(axis)
{
}

void PlotAxisTicker::install(QCPAxis* axis)
{
    axis->setTicker(QSharedPointer<PlotAxisTicker>::create(axis));
}

QSharedPointer<PlotAxisTicker> PlotAxisTicker::of(const QCPAxis* axis)
{
    return qSharedPointerDynamicCast<PlotAxisTicker>(axis->ticker());
}

// One tick asked for is as few as the library's ticks go; where even those
// labels crowd (a very short axis), every label that would run into the one
// kept before it is left empty.
void PlotAxisTicker::generate(const QCPRange& range, const QLocale& locale, QChar formatChar, int precision,
                              QVector<double>& ticks, QVector<double>* subTicks, QVector<QString>* tickLabels)
{
    const int wanted = tickCount();
    for (int count = wanted;; --count) {
        setTickCount(count);
        QCPAxisTicker::generate(range, locale, formatChar, precision, ticks, subTicks, tickLabels);
        if (!tickLabels || !emptyCrowdedLabels(range, ticks, *tickLabels) || count <= 1)
            break;
    }
    setTickCount(wanted);
}

QString PlotAxisTicker::getTickLabel(double tick, const QLocale& locale, QChar formatChar, int precision)
{
    return QCPAxisTicker::getTickLabel(tick, locale, formatChar, precision) + m_tickLabelSuffix;
}

// Neighbouring labels, centred on their ticks, keep at least the width of an
// average character between them along the axis.
bool PlotAxisTicker::emptyCrowdedLabels(const QCPRange& range, const QVector<double>& ticks,
                                        QVector<QString>& labels) const
{
    if (!m_axis || !m_axis->axisRect() || range.size() <= 0 || labels.size() != ticks.size())
        return false;
    const bool horizontal = m_axis->orientation() == Qt::Horizontal;
    const QRect rect = m_axis->axisRect()->rect();
    const double pixelsPerUnit = (horizontal ? rect.width() : rect.height()) / range.size();
    const QFontMetricsF metrics(m_axis->tickLabelFont());
    const auto extent = [&](const QString& label) {
        return horizontal ? metrics.horizontalAdvance(label) : metrics.height();
    };
    bool emptied = false;
    int last = -1;
    for (int i = 0; i < ticks.size(); ++i) {
        if (labels[i].isEmpty())
            continue;
        if (last >= 0) {
            const double spacing = std::abs(ticks[i] - ticks[last]) * pixelsPerUnit;
            if (spacing < (extent(labels[last]) + extent(labels[i])) / 2 + metrics.averageCharWidth()) {
                labels[i].clear();
                emptied = true;
                continue;
            }
        }
        last = i;
    }
    return emptied;
}
