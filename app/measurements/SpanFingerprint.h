#pragma once

#include "CurveAccess.h"

#include <QVector>

// What a result computed from stretches of curve data depends on, as far as
// a measurement following the mouse needs it: where each stretch lies in the
// curve's storage, the curve's data revision and the coordinates of the
// stretch's end points. The measurements keep a fit while the fingerprint of
// their stretches stays the same, so that a cursor that only moves a label
// does not fit again; new, moved, rescaled, recalibrated or rotated data
// changes the fingerprint: through the revision wherever the program changes
// a curve's data, through the end points for data changed behind its back.
class SpanFingerprint
{
public:
    SpanFingerprint() = default;
    explicit SpanFingerprint(const QVector<CurveSpan>& spans);

    bool operator==(const SpanFingerprint& other) const { return m_entries == other.m_entries; }
    bool operator!=(const SpanFingerprint& other) const { return !(*this == other); }

private:
    struct Entry
    {
        QCPCurveDataContainer::const_iterator first{};
        QCPCurveDataContainer::const_iterator last{};
        quint64 revision = 0;
        double firstKey = 0;
        double firstValue = 0;
        double lastKey = 0;
        double lastValue = 0;

        bool operator==(const Entry& other) const;
    };

    QVector<Entry> m_entries;
};
