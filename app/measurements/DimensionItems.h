#pragma once

#include <QList>
#include <QPointer>

#include "ReportLabelFont.h"

class PlotWidget;
class QCPItemLine;
class QCPItemText;
class QCPLayerable;
class QLineF;

namespace MeasurementMath {
struct Dimension;
}

// The plot items of a dimension: two extension lines, the dimension line with
// arrow heads at both ends, and the value label. Created hidden, with black
// pens and the monospace font; removed from the plot with this object.
class DimensionItems
{
public:
    explicit DimensionItems(PlotWidget* plot);
    ~DimensionItems();

    DimensionItems(const DimensionItems&) = delete;
    DimensionItems& operator=(const DimensionItems&) = delete;

    QList<QCPLayerable*> layerables() const;

    QCPItemLine* extension1() const { return m_extension1; }
    QCPItemLine* extension2() const { return m_extension2; }
    QCPItemLine* dimensionLine() const { return m_dimensionLine; }
    QCPItemText* label() const { return m_label; }

    static void placeLine(QCPItemLine* item, const QLineF& line);

    // Lines and the label's position, rotation and alignment; not its text.
    void place(const MeasurementMath::Dimension& dimension);
    void setVisible(bool visible);
    // Green while the measurement is open, black once finished.
    void setHighlighted(bool highlighted);
    void setLabelEnlarged(bool enlarged);

private:
    QPointer<PlotWidget> m_plot;
    QPointer<QCPItemLine> m_extension1;
    QPointer<QCPItemLine> m_extension2;
    QPointer<QCPItemLine> m_dimensionLine;
    QPointer<QCPItemText> m_label;
    ReportLabelFont m_reportFont;
};
