#pragma once

#include <qcustomplot.h>

// An arc of the ellipse inscribed in the rectangle that topLeft and
// bottomRight span, from startAngle over spanAngle (sixteenths of a degree,
// counter-clockwise positive, 0 at three o'clock, as QPainter counts). Hit
// testing is that of the whole ellipse, like the library's ellipse item.
class QCPItemArc : public QCPAbstractItem
{
    Q_OBJECT
    Q_PROPERTY(QPen pen READ pen WRITE setPen)
    Q_PROPERTY(QPen selectedPen READ selectedPen WRITE setSelectedPen)
    Q_PROPERTY(QBrush brush READ brush WRITE setBrush)
    Q_PROPERTY(QBrush selectedBrush READ selectedBrush WRITE setSelectedBrush)
public:
    explicit QCPItemArc(QCustomPlot* parentPlot);

    QPen pen() const { return m_pen; }
    QPen selectedPen() const { return m_selectedPen; }
    QBrush brush() const { return m_brush; }
    QBrush selectedBrush() const { return m_selectedBrush; }
    void setPen(const QPen& pen) { m_pen = pen; }
    void setSelectedPen(const QPen& pen) { m_selectedPen = pen; }
    void setBrush(const QBrush& brush) { m_brush = brush; }
    void setSelectedBrush(const QBrush& brush) { m_selectedBrush = brush; }

    double selectTest(const QPointF& pos, bool onlySelectable, QVariant* details = nullptr) const override;

    QCPItemPosition* const topLeft;
    QCPItemPosition* const bottomRight;
    int startAngle = 0;
    int spanAngle = 5760;

protected:
    void draw(QCPPainter* painter) override;

    QPen mainPen() const;
    QBrush mainBrush() const;

private:
    QPen m_pen{Qt::black};
    QPen m_selectedPen{QBrush(Qt::blue), 2};
    QBrush m_brush{Qt::NoBrush};
    QBrush m_selectedBrush{Qt::NoBrush};
};
