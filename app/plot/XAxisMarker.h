#pragma once

#include <QObject>
#include <QPointer>

class QCPAxis;
class QCPItemStraightLine;
class QCPItemText;
class QCustomPlot;

// A vertical line at an x position with a value label standing on the top
// edge of the axis rect. The owner sets the label text, the position and the
// visibility; nothing here replots. The marker is a child of the axis given,
// which serves only to reach the plot: the items use the plot's default axes.
class XAxisMarker : public QObject
{
    Q_OBJECT
public:
    explicit XAxisMarker(QCPAxis* axis);
    ~XAxisMarker() override;

    void setPosition(double x, double value);
    void setVisible(bool visible);

    QCPAxis* axis() const { return m_axis; }
    QCPItemStraightLine* line() const { return m_line; }
    QCPItemText* label() const { return m_label; }
    double x() const { return m_x; }
    double value() const { return m_value; }

private:
    QCPAxis* m_axis;
    QPointer<QCustomPlot> m_plot;
    QPointer<QCPItemStraightLine> m_line;
    QPointer<QCPItemText> m_label;
    double m_x = 0;
    double m_value = 0;
};
