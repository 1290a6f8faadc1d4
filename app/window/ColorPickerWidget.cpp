#include "ColorPickerWidget.h"

#include <QColorDialog>
#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr QSize kSwatchSize(100, 30);

} // namespace

ColorPickerWidget::ColorPickerWidget(QWidget* parent) : QWidget(parent)
{
    setFixedSize(kSwatchSize);
}

void ColorPickerWidget::setColor(const QColor& color)
{
    m_color = color;
    update();
}

void ColorPickerWidget::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QColor chosen = QColorDialog::getColor(m_color, this, QStringLiteral("Выбор цвета"));
    if (!chosen.isValid())
        return;
    setColor(chosen);
    emit colorChanged(chosen);
}

void ColorPickerWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(m_color);
    painter.drawRect(0, 0, width() - 1, height() - 1);
}
