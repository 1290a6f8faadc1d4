#pragma once

#include "ProbeMeasurement.h"

// A measurement that shows a kind's name and reports its type, with a value
// the test sets. A code without a kind gives a probe of that bare type.
class RowProbe : public ProbeMeasurement
{
public:
    explicit RowProbe(int code, double value = 0)
        : ProbeMeasurement(nullptr, 0, measurementKind(code) ? measurementKind(code)->type : code)
        , m_name(measurementKind(code) ? measurementKind(code)->name : QStringLiteral("Проба"))
        , m_value(value)
    {
    }

    QString name() const override { return m_name; }
    double value() const override { return m_value; }
    void setValue(double value) { m_value = value; }

private:
    QString m_name;
    double m_value;
};
