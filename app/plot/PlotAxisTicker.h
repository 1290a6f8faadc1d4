#pragma once

#include <QPointer>

#include <qcustomplot.h>

// The default axis ticker of the program's plots: the library's ticker with a
// unit text appended to every tick label (" мм", "%"). The callers' texts
// bring their own leading blank where they want one.
//
// No two ticks read the same number: where the axis's precision cannot tell
// them apart (a few micrometres shown in millimetres to three decimals), the
// labels take as many more digits as the tick step needs.
//
// A ticker that knows its axis keeps the axis's tick labels apart: where the
// library's ticks would put labels on top of each other at the axis rect's
// size, it takes fewer ticks until they stand clear, and on an axis too
// short even for those it leaves out the labels that would crowd.
class PlotAxisTicker : public QCPAxisTicker
{
public:
    explicit PlotAxisTicker(QCPAxis* axis = nullptr);

    // Gives the axis a ticker of its own that knows it.
    static void install(QCPAxis* axis);

    void setTickLabelSuffix(const QString& suffix) { m_tickLabelSuffix = suffix; }
    QString tickLabelSuffix() const { return m_tickLabelSuffix; }

    // The ticker of axis as a PlotAxisTicker; null when the axis carries another kind.
    static QSharedPointer<PlotAxisTicker> of(const QCPAxis* axis);

    void generate(const QCPRange& range, const QLocale& locale, QChar formatChar, int precision,
                  QVector<double>& ticks, QVector<double>* subTicks, QVector<QString>* tickLabels) override;

protected:
    QString getTickLabel(double tick, const QLocale& locale, QChar formatChar, int precision) override;

private:
    // The least precision, not below `precision`, at which no two ticks read
    // the same number.
    int distinctPrecision(const QVector<double>& ticks, const QLocale& locale, QChar formatChar, int precision);
    bool readsTwoTicksAlike(const QVector<double>& ticks, const QLocale& locale, QChar formatChar, int precision);
    // Empties every label that would run into the one kept before it;
    // returns whether any was.
    bool emptyCrowdedLabels(const QCPRange& range, const QVector<double>& ticks, QVector<QString>& labels) const;

    QPointer<QCPAxis> m_axis;
    QString m_tickLabelSuffix;
};
