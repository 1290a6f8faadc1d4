#pragma once

#include "AnalisysWidget.h"
#include "CalibrationField.h"
#include "CalibrationPanelVisibility.h"
#include "ContourLevelling.h"
#include "ProbeCalibration.h"
#include "measurements/MeasurementKind.h"
#include "ui_ContourAnalisisWidget.h"

#include <QMap>
#include <QMetaObject>
#include <QPoint>
#include <QPointF>
#include <QPointer>
#include <QString>
#include <QVector>

#include <memory>

class AbstractTrace;
class AdaptiveCurve;
class EqualScaleFit;
class Measurement;
class MeasurementsManager;
class QShortcut;
class QTreeWidgetItem;
class QWheelEvent;

// A measurement tab: the contour traces handed over by the profile workspace
// on one plot with equal scales, zoom and pan, the measurement buttons in
// frames opened from the tool bar, the measurements manager that places the
// measurements and the tree that lists them. In calibration mode the same
// window is the probe calibration screen, with the calibration panel shown.
// GUI thread only. The traces are not owned.
class ContourAnalisisWidget : public AnalisysWidget
{
    Q_OBJECT
public:
    // The window stays without a parent until a tab widget or the
    // calibration dialog adopts it.
    explicit ContourAnalisisWidget(QWidget* parent = nullptr, bool calibrationMode = false);
    ~ContourAnalisisWidget() override;

    // Draws one curve per trace, in order, in the display unit, and fits the
    // axes.
    void setTraces(const QVector<AbstractTrace*>& traces);
    const QVector<AbstractTrace*>& traces() const { return m_traces; }
    MeasurementsManager* measurementsManager() const { return m_manager; }
    bool isCalibrationMode() const { return m_calibrationMode; }
    // False from a change of the calibration panel until it was saved or
    // discarded.
    bool isCalibrationSaved() const;
    // What the report reads of the tab.
    QString partName() const { return m_ui.detailNameEdit->text(); }
    QString comment() const { return m_ui.commentTextEdit->toPlainText(); }
    PlotWidget* plot() const { return m_ui.plot; }
    MeasurementTreeWidget* measurementTree() const { return m_ui.measurementTree; }
    // The suffix of the display unit: " мм", " мкм" or " нм".
    QString unitText() const { return m_unitText; }

    void prepareForReport() override;
    void restoreAfterReport() override;
    void printReport(QWidget* parent) override;

signals:
    // The calibration was saved or discarded.
    void closeDialogCalibration();

public slots:
    void saveData() override;
    void deleteMeasurement(int index);
    void addMeasurement(int index, E_MEASUREMENTS type, double distance);
    // Applies the display unit and the settings to the curves and to every
    // measurement, and refreshes their rows.
    void recalcAllMeasurements();
    // Points the Delete key at the measurement of the tree's selected row.
    void delButtonPress(MeasurementTreeWidget* tree);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private slots:
    void processMeasurementSelection();
    // A value of the calibration panel changed: it goes into the settings
    // and the traces' calibration, and everything shown follows.
    void calibrationDataValueChangedManually(double val);

private:
    // One measurement button: the kind it chooses and the tool bar action
    // whose frame holds it.
    struct MeasurementButton
    {
        E_MEASUREMENTS kind;
        QPushButton* button;
        QAction* action;
    };

    // Plot and view.
    void createPlot();
    void connectZoomButtons();
    void connectMeasurementButtons();
    // The trace's display columns levelled as the tab is, in the display unit.
    void fillCurve(AdaptiveCurve* curve, const AbstractTrace* trace) const;
    // Fills every curve again and recalculates the measurements on them.
    void refreshCurves();
    void applyAxisUnit();
    void fitAxes();
    // Every point of every curve of the plot.
    EqualScaleFit curvesFit() const;
    void applyFit(const EqualScaleFit& fit);
    void showImportedDrawing();
    void panBy(const QPoint& p);
    void zoomAxes(QWheelEvent* event, Qt::Orientation orientation);

    // Zoom and pan modes, and the levelling reset.
    void onScaleXClicked(bool checked);
    void onScaleYClicked(bool checked);
    void onPanClicked(bool checked);
    void onResetScaleClicked();
    void onResetLevellingClicked();
    // Enters a mode of the wheel: the button's icon on the scale action, the
    // button active; or leaves it, cutting its wheel connection.
    void enterWheelMode(QPushButton* button, Qt::CursorShape cursor, QMetaObject::Connection& wheel,
                        void (ContourAnalisisWidget::*handler)(QWheelEvent*));
    void leaveWheelMode(QMetaObject::Connection& wheel);
    void zoomX(QWheelEvent* event);
    void zoomY(QWheelEvent* event);
    void logPanZoom(QWheelEvent* event);

    // Frames and measurement buttons.
    void hideButtonFrames();
    void connectFrameActions();
    void onFrameActionToggled(QAction* action, QFrame* frame, bool checked);
    void onMeasurementButtonClicked(const MeasurementButton& entry, bool checked);
    // The parameter of a kind that asks for one; empty when it asks for none
    // or the dialog was cancelled.
    QString askForParameter(int kind);
    QString askForCount();
    QString askForRadius();
    void resetMeasurementButtons(QObject* sender);

    // Tree binding.
    void connectManager();
    void connectTree();
    void updateMeasurementItem(Measurement* measurement);
    int measurementIdOfRow(MeasurementTreeWidget* tree, QTreeWidgetItem* row) const;
    void deleteSelectedMeasurement();

    // Calibration mode (ContourAnalisisWidgetCalibration.cpp).
    // One value of the calibration panel: its input and the input's label.
    struct CalibrationInput
    {
        CalibrationField field;
        QWidget* widget;
        QWidget* label;
    };
    void enterCalibrationSettings();
    void prepareCalibrationPanel();
    void leaveCalibrationSettings();
    QVector<CalibrationInput> calibrationInputs() const;
    void showCalibrationInputs(const CalibrationPanelVisibility& visibility);
    void setCalibrationTraces(const QVector<AbstractTrace*>& traces);
    void reprocessCalibratedTraces();
    void saveCalibration();
    void saveCalibrationAs();
    void storeCalibration(bool alwaysChooseConsole);
    void discardCalibration();

    Ui::ContourAnalisisWidget m_ui;
    bool m_calibrationSaved = true;
    std::unique_ptr<ProbeCalibration> m_calibration;
    QVector<AbstractTrace*> m_traces;
    MeasurementsManager* m_manager = nullptr;
    double m_unitFactor = 1.0;
    QString m_unitText;
    const bool m_calibrationMode;
    bool m_savedAnglesInDeg = false;
    QVector<QPointer<AdaptiveCurve>> m_curves;
    // One lasting Delete shortcut aimed at the selected row's measurement;
    // disabled while no row is selected.
    QShortcut* m_deleteShortcut = nullptr;
    int m_deleteId = 0;
    // The lay-flat rotations in force, until the levelling is reset.
    ContourLevelling m_levelling;
    bool m_panning = false;
    QPoint m_panStart;
    QMap<int, QTreeWidgetItem*> m_measurementItems;
    QVector<MeasurementButton> m_measurementButtons;
    QMetaObject::Connection m_scaleXWheel;
    QMetaObject::Connection m_scaleYWheel;
    QMetaObject::Connection m_panWheel;
};
