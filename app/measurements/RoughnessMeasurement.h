#pragma once

#include "DimensionItems.h"
#include "Measurement.h"
#include "RangeProtocol.h"
#include "SelectionStamp.h"

#include "ProfileData.h"
#include "math/AutoCutOffRoughness.h"

#include <optional>

// A roughness parameter of one range of a trace, drawn as a dimension over
// the range with the value in micrometres whatever the display unit. The
// range is filtered with the Gaussian profile filter, the cut-off chosen from
// the result itself (starting at 800 micrometres). The filtering runs when the
// range, its data or the settings it depends on change, not for a cursor that
// only moves the label. A range too short for a cut-off, or a result that is 0
// to four decimals, gives no value: nothing is drawn and the status line says
// why.
class RoughnessMeasurement : public Measurement
{
    Q_OBJECT
public:
    ~RoughnessMeasurement() override;

    QString name() const override { return m_name; }
    QString valueText() const override;
    double value() const override { return computedValue(m_value); }
    void calculate() override;
    QString groupName() const override;
    void setLabelEnlarged(bool enlarged) override;
    void updateLabel() override;
    void updateSelectionMarker() override;
    void setHighlighted(bool highlighted) override;

    // The kind's parameter of a filtered profile (x and heights in
    // micrometres) over sampling lengths of the cut-off (micrometres).
    virtual double computeParameter(const ProfileData& profile, double cutOff) const = 0;

protected:
    RoughnessMeasurement(E_MEASUREMENTS code, PlotWidget* plot, int traceCount);

private:
    // What the filtered result depends on besides the range.
    struct Inputs
    {
        SelectionStamp ranges;
        int axisUnit = 0;
        int standard = 0;

        bool operator==(const Inputs& other) const
        {
            return ranges == other.ranges && axisUnit == other.axisUnit && standard == other.standard;
        }
    };

    static Inputs currentInputs(const Measurement& measurement);
    static QString noValueReason(const MeasurementMath::CutOffRoughness& result);
    void updateResult(const Selection& selection);
    void showNoValue(const QString& reason = QString());
    void draw(const Selection& selection);

    QString m_unitText;
    DimensionItems m_items;
    double m_value = 0;
    QString m_name;
    RangeProtocol m_protocol;
    std::optional<Inputs> m_resultOf;
    std::optional<MeasurementMath::CutOffRoughness> m_result;
};
