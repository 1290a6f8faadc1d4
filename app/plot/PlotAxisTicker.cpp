#include "PlotAxisTicker.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

namespace {

// Beyond this many digits a double has nothing more to tell.
constexpr int kMostDigits = 17;

} // namespace

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
        if (tickLabels) {
            const int distinct = distinctPrecision(ticks, locale, formatChar, precision);
            if (distinct != precision)
                *tickLabels = createLabelVector(ticks, locale, formatChar, distinct);
        }
        if (!tickLabels || !emptyCrowdedLabels(range, ticks, *tickLabels) || count <= 1)
            break;
    }
    setTickCount(wanted);
}

QString PlotAxisTicker::getTickLabel(double tick, const QLocale& locale, QChar formatChar, int precision)
{
    return QCPAxisTicker::getTickLabel(tick, locale, formatChar, precision) + m_tickLabelSuffix;
}

int PlotAxisTicker::distinctPrecision(const QVector<double>& ticks, const QLocale& locale, QChar formatChar,
                                      int precision)
{
    while (precision < kMostDigits && readsTwoTicksAlike(ticks, locale, formatChar, precision))
        ++precision;
    return precision;
}

// The labels are read back as numbers, so that "-0,000" and "0,000" count
// as alike; a label that reads as no number counts as its text.
bool PlotAxisTicker::readsTwoTicksAlike(const QVector<double>& ticks, const QLocale& locale, QChar formatChar,
                                        int precision)
{
    QStringList shown;
    shown.reserve(ticks.size());
    for (double tick : ticks) {
        const QString label = QCPAxisTicker::getTickLabel(tick, locale, formatChar, precision);
        bool isNumber = false;
        const double number = locale.toDouble(label, &isNumber) + 0.0; // + 0.0 makes -0 a 0
        shown.append(isNumber ? QString::number(number, 'g', kMostDigits) : label);
    }
    std::sort(shown.begin(), shown.end());
    return std::adjacent_find(shown.begin(), shown.end()) != shown.end();
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
