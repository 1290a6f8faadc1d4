#pragma once

#include "ProbeMeasurement.h"

// A measurement that shows a kind's name and reports its type, and yields a
// value as that kind does, with a value the test sets (or marks not
// computed). A code without a kind gives a probe of that bare type.
class RowProbe : public ProbeMeasurement
{
public:
    explicit RowProbe(int code, double value = 0)
        : ProbeMeasurement(nullptr, 0, measurementKind(code) ? measurementKind(code)->type : code)
        , m_name(measurementKind(code) ? measurementKind(code)->name : QStringLiteral("Проба"))
        , m_value(value)
    {
        setYieldsValue(!measurementKind(code) || measurementKind(code)->yieldsValue);
    }

    QString name() const override { return m_name; }
    QString valueText() const override { return m_showsNumber ? ProbeMeasurement::valueText() : QString(); }
    // As the drawing comparison, which yields no number of its own.
    void showNoNumber() { m_showsNumber = false; }
    double value() const override { return m_value; }
    void setValue(double value) { m_value = value; }
    using Measurement::markValueNotComputed;

private:
    QString m_name;
    double m_value;
    bool m_showsNumber = true;
};
