#include "QCPItemArc.h"

QCPItemArc::QCPItemArc(QCustomPlot* parentPlot)
    : QCPAbstractItem(parentPlot)
    , topLeft(createPosition(QStringLiteral("topLeft")))
    , bottomRight(createPosition(QStringLiteral("bottomRight")))
{
    topLeft->setCoords(0, 1);
    bottomRight->setCoords(1, 0);
}

QPen QCPItemArc::mainPen() const
{
    return mSelected ? m_selectedPen : m_pen;
}

QBrush QCPItemArc::mainBrush() const
{
    return mSelected ? m_selectedBrush : m_brush;
}

double QCPItemArc::selectTest(const QPointF& pos, bool onlySelectable, QVariant* details) const
{
    Q_UNUSED(details)
    if (onlySelectable && !mSelectable)
        return -1;
    const QPointF p1 = topLeft->pixelPosition();
    const QPointF p2 = bottomRight->pixelPosition();
    const QPointF center((p1 + p2) / 2.0);
    const double a = qAbs(p1.x() - p2.x()) / 2.0;
    const double b = qAbs(p1.y() - p2.y()) / 2.0;
    const double x = pos.x() - center.x();
    const double y = pos.y() - center.y();

    // Distance to the rim along the ray from the centre.
    const double c = 1.0 / qSqrt(x * x / (a * a) + y * y / (b * b));
    double result = qAbs(c - 1) * qSqrt(x * x + y * y);
    // A filled ellipse is hit anywhere inside.
    const double tolerance = mParentPlot->selectionTolerance() * 0.99;
    if (result > tolerance && m_brush.style() != Qt::NoBrush && m_brush.color().alpha() != 0) {
        if (x * x / (a * a) + y * y / (b * b) <= 1)
            result = tolerance;
    }
    return result;
}

void QCPItemArc::draw(QCPPainter* painter)
{
    const QPointF p1 = topLeft->pixelPosition();
    const QPointF p2 = bottomRight->pixelPosition();
    if (p1.toPoint() == p2.toPoint())
        return;
    const QRectF arcRect = QRectF(p1, p2).normalized();
    const int clipEnlarge = qCeil(mainPen().widthF());
    const QRect clip = clipRect().adjusted(-clipEnlarge, -clipEnlarge, clipEnlarge, clipEnlarge);
    if (!arcRect.intersects(clip))
        return;
    painter->setPen(mainPen());
    painter->setBrush(mainBrush());
    try {
        painter->drawArc(arcRect, startAngle, spanAngle);
    } catch (...) {
        qDebug() << Q_FUNC_INFO << "Item too large for memory, setting invisible";
        setVisible(false);
    }
}
