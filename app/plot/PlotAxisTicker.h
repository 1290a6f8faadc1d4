#pragma once

#include <qcustomplot.h>

// The default axis ticker of the program's plots: the library's ticker with a
// unit text appended to every tick label (" мм", "%"). The callers' texts
// bring their own leading blank where they want one.
class PlotAxisTicker : public QCPAxisTicker
{
public:
    void setTickLabelSuffix(const QString& suffix) { m_tickLabelSuffix = suffix; }
    QString tickLabelSuffix() const { return m_tickLabelSuffix; }

    // The ticker of axis as a PlotAxisTicker; null when the axis carries another kind.
    static QSharedPointer<PlotAxisTicker> of(const QCPAxis* axis);

protected:
    QString getTickLabel(double tick, const QLocale& locale, QChar formatChar, int precision) override;

private:
    QString m_tickLabelSuffix;
};
