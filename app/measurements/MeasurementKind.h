#pragma once

#include <QMetaType>
#include <QString>

// The measurement kinds, numbered as the measurement buttons, the tree and the
// settings know them. Code 17 names no kind.
enum E_MEASUREMENTS {
    VERTICAL_DISTANCE = 0,
    HORIZONTAL_DISTANCE = 1,
    DIRECT_DISTANCE = 2,
    VERTICAL_ANGLE = 3,
    HORIZONTAL_ANGLE = 4,
    REGULAR_ANGLE = 5,
    REGULAR_RADIUS = 6,
    ARCS_RADIUS = 7,
    LAY_FLAT = 8,
    LAY_FLAT_BY_TWO = 9,
    MEAN_HEIGHT = 10,
    LINE_DEVIATION = 11,
    CIRCLE_DEVIATION = 12,
    CIRCLE_DEVIATION_SPECIFIED = 13,
    CIRCLE_DEVIATION_FILTERED = 14,
    CIRCLE_DEVIATION_BY_SEGMENTS = 15,
    CIRCLE_DEVIATION_FILTERED_BY_SEGMENTS = 16,
    ROUGHNESS_RA = 18,
    ROUGHNESS_RZ = 19,
    CIRCLE = 20,
    CIRCLE_SPECIFIED = 21,
    HORIZONTAL_LINE = 22,
    VERTICAL_LINE = 23,
    TWO_POINT_LINE = 24,
    TRACE_POINT = 25,
    MIDDLE_POINT = 26,
    THREAD_MEAN_DIAMETER = 27,
    MAX_POINT = 28,
    MIN_POINT = 29,
    TEXT_PLACEMENT = 30,
    DRAWING_COMPARISON = 31,
    GRAPH_DEVIATION = 32,
    NO_MEASUREMENT = 33,
};
Q_DECLARE_METATYPE(E_MEASUREMENTS)

// One row of the kinds table: what a measurement created for a code shows and
// reports. `type` is the code its class hands to Measurement, which differs
// from the creation code for the circle deviations (13 to 16 report 12).
struct MeasurementKind
{
    E_MEASUREMENTS code;
    QString name;
    QString groupName;
    int type;
    bool yieldsValue;
};

// The row of a creation code; null for 17, 33 and codes outside the table.
const MeasurementKind* measurementKind(int code);
