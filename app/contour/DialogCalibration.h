#pragma once

#include <QDialog>
#include <QList>
#include <QPointer>

class AbstractTrace;
class ContourAnalisisWidget;

// The window "Калибровка" that hosts a contour workspace in calibration mode.
// It closes when the workspace has saved or discarded its calibration; a
// close asked for while changes are unsaved asks whether to save them.
class DialogCalibration : public QDialog
{
    Q_OBJECT

public:
    explicit DialogCalibration(QWidget* parent);

    // Called once, before the dialog runs.
    void setAnalysisWidget(ContourAnalisisWidget* widget);

    void reject() override;

private:
    QPointer<ContourAnalisisWidget> m_widget;
};

// Opens the probe calibration window over `parent` on the traces (at least
// one), sized to 70 % of the screen, runs it modally and deletes it.
void openCalibrationWindow(QWidget* parent, const QList<AbstractTrace*>& traces);
