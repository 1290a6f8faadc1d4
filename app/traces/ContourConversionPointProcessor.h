#pragma once

#include "IDataSinglePointProcessor.h"

// Turns a raw contour reading (x, probe height, console height) into a
// corrected point with the calibration current in the settings: axis
// compression, console displacement, console height added in thousandths,
// rotation by the rack angle. Points with fewer than three values are left
// as they are. A block of rows is converted with one reading of the
// calibration.
class ContourConversionPointProcessor : public IDataSinglePointProcessor
{
public:
    void process(QVector<double>& point) override;
    void processRows(ProfileData& columns, int first, int count) override;
    // x and the probe height; the console height stays.
    bool changesColumn(int column) const override { return column < 2; }
};
