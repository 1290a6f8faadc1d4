#pragma once

#include <QString>
#include <QVector>

// Value text of a measurement that has no result yet.
extern const QString kUnknownText;

// Profile filter cut-off lengths in micrometres, longest first; indexed by
// the setting "device/spinbox_filter_length_index".
extern const QVector<double> kCutOffValues;
constexpr int kDefaultCutOffIndex = 1;

// The cut-off for a stored index; an index outside the list gives the default one.
double cutOffForIndex(int index);
