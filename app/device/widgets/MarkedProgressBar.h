#pragma once

#include <QProgressBar>

// A progress bar with a fixed red line across the middle of its height, the
// mark of the middle of the range on the control panel's upright height bar.
class MarkedProgressBar : public QProgressBar
{
    Q_OBJECT

public:
    using QProgressBar::QProgressBar;

protected:
    void paintEvent(QPaintEvent* event) override;
};
