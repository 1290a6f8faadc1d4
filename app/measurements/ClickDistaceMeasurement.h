#pragma once

#include "CurveAccess.h"
#include "LinePrimitive.h"
#include "Measurement.h"

#include <QLineF>
#include <QString>
#include <QVector>

#include <functional>
#include <optional>

class QCPItemStraightLine;

// Construction geometry placed by clicks on trace points (the point the
// plot's selection marker snapped to) rather than by ranges: points on the
// trace and straight lines. It yields no value; it gives reference points to
// the distances and lines to the intersection constructions.
//
// The line kinds hold the line's coordinates {c0, c1}: y = c0·x + c1 for a
// sloped or horizontal line, x = c1 (c0 = 0) for a vertical one.
class ClickDistaceMeasurement : public Measurement, public LinePrimitive
{
public:
    // A kind placed by clicks: the first traceCount curves of the registry
    // become selectable by single points and the selection marker is shown.
    ClickDistaceMeasurement(E_MEASUREMENTS kind, PlotWidget* plot, int traceCount);
    // A line built from coordinates (an equidistant), which its constructor
    // finishes at once.
    ClickDistaceMeasurement(E_MEASUREMENTS kind, PlotWidget* plot);
    ~ClickDistaceMeasurement() override;

    QString name() const override;
    QString valueText() const override;
    double value() const override;
    void calculate() override;
    QString groupName() const override;
    void setLabelEnlarged(bool enlarged) override;
    void updateLabel() override;
    void updateSelectionMarker() override;
    void setHighlighted(bool highlighted) override;

    QVector<double> lineCoefficients() const override { return m_coordinates; }

protected:
    void setCoordinates(const QVector<double>& coordinates) { m_coordinates = coordinates; }

    // The line's offset c1 and the drawn line; the slope term c0 keeps its
    // value in every unit.
    void scaleGeometry(double ratio) override;

    // Draws the straight line through the two points, each coordinate taken
    // in single precision, and shows it.
    void setLinePoints(const QLineF& points);
    void hideLine();

    // Calls handle() on every left-button release over the plot until the
    // measurement finishes.
    void onLeftRelease(const std::function<void()>& handle);
    // Calls handle() on every mouse move over the plot until the measurement
    // finishes, and shows what it moved.
    void onMouseMove(const std::function<void()>& handle);

    void finishAndAnnounce();

    // A line built from coordinates: drawn through the two points and
    // finished at once.
    void finishAsBuilt(const QVector<double>& coordinates, const QLineF& points);

    // The one-click kinds: the left release stores the snap, recalculates
    // from it and finishes the measurement.
    void finishAtRelease(std::optional<PointRef>& snap);

private:
    QVector<double> m_coordinates;
    QCPItemStraightLine* m_line = nullptr;
    QString m_name;
    QString m_groupName;
};
