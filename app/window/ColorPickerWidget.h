#pragma once

#include <QColor>
#include <QWidget>

// A colour swatch of 100 × 30 pixels. A left click opens the colour dialog
// ("Выбор цвета"); a colour chosen there becomes the swatch's colour and is
// announced with colorChanged.
class ColorPickerWidget : public QWidget
{
    Q_OBJECT

public:
    explicit ColorPickerWidget(QWidget* parent = nullptr);

    QColor color() const { return m_color; }
    void setColor(const QColor& color);

signals:
    void colorChanged(QColor color);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_color = Qt::red;
};
