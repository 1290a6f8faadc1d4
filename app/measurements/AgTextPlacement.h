#pragma once

#include "Measurement.h"
#include "ReportLabelFont.h"

#include <QPointer>

#include <functional>

class QCPItemText;
class QWidget;

// A free text on the plot. A left release asks for the text; an accepted,
// non-empty one is placed in black, centred on the released point, and
// finishes the measurement. A cancelled or empty one leaves it waiting for
// the next release. Yields no value. Its position follows a change of the
// display unit.
class AgTextPlacement : public Measurement
{
    Q_OBJECT
public:
    // Asks the user for the text over `parent`; empty when cancelled.
    using TextRequest = std::function<QString(QWidget* parent)>;

    // The program's request: a text dialog "Введите текст" without the help
    // button in its title bar.
    static QString askForText(QWidget* parent);

    AgTextPlacement(QWidget* parent, PlotWidget* plot, TextRequest request = askForText);
    ~AgTextPlacement() override;

    QString name() const override { return m_name; }
    QString valueText() const override { return QString(); }
    double value() const override { return 0; }
    void calculate() override {}
    QString groupName() const override;
    void setLabelEnlarged(bool enlarged) override;
    void updateLabel() override {}
    void updateSelectionMarker() override;
    void setHighlighted(bool) override {}

    QCPItemText* textItem() const { return m_text; }

protected:
    // The text stays at the point it was placed on.
    void scaleGeometry(double ratio) override;

private:
    void onPlotMouseRelease(QMouseEvent* event);

    QPointer<QCPItemText> m_text;
    ReportLabelFont m_reportFont;
    QString m_name;
    QPointer<QWidget> m_parent;
    TextRequest m_request;
};
