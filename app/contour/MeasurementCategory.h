#pragma once

#include <QString>

// The groups under which the measurement tree lists the measurements, in the
// tree's initial order.
enum class MeasurementCategory {
    Lengths,
    Deviations,
    Angles,
    Radii,
    Roughness,
    Construction,
};

constexpr int kMeasurementCategoryCount = 6;

// The group of a measurement by the type it reports (Measurement::type()).
// A type the tree does not list gives Lengths, with known set to false.
MeasurementCategory categoryOfType(int type, bool* known = nullptr);

// The text of the group's row: "ДЛИНЫ", "ОТКЛОНЕНИЯ", ...
QString categoryTitle(MeasurementCategory category);

// The resource path of the group row's icon.
QString categoryIcon(MeasurementCategory category);
