#include "MarkedProgressBar.h"

#include <QPainter>

void MarkedProgressBar::paintEvent(QPaintEvent* event)
{
    QProgressBar::paintEvent(event);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(QBrush(Qt::red, Qt::SolidPattern), 2.0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    const int middle = height() / 2;
    painter.drawLine(0, middle, width(), middle);
}
