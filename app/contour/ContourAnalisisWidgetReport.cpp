#include "ContourAnalisisWidget.h"

// The contour report.

void ContourAnalisisWidget::prepareForReport() {}

void ContourAnalisisWidget::restoreAfterReport() {}

void ContourAnalisisWidget::printReport(QWidget* parent)
{
    Q_UNUSED(parent)
}
