#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QPixmap>
#include <QString>
#include <QVector>

#include "AnalisysWidget.h"
#include "plot/TraceGraphsHost.h"
#include "ui_ProfileAnalisisWidget.h"

class AbstractTrace;
class DataProvider;
class DeviceControlWidget;
class KeyReceiver;
class QMouseEvent;
class LiveTraceDrawing;
class MainWindow;
class PlotWidget;
class ProcessingOptionsPanel;
class TraceGraphsHolder;
class TraceList;

// The profile workspace, the main window's first tab "ПРОФИЛЬ": the profile
// plots (main plot, height histogram, material-ratio curve), the trace list
// with its parameter table, the quick settings and the instrument control
// panel, a tool bar of plot tools and the processing options.
//
// It creates a trace for every read, of a file or a recording, draws it
// while it grows, lists it, computes its parameters, saves recordings on
// their own and traces on request, and rebuilds every drawn trace's
// processing chain when an option changes. The traces live until the
// program ends. GUI thread only.
class ProfileAnalisisWidget : public AnalisysWidget, public TraceGraphsHost
{
    Q_OBJECT
public:
    // The window does not become the workspace's parent; the main window's
    // tab widget adopts it.
    explicit ProfileAnalisisWidget(MainWindow* window = nullptr);
    ~ProfileAnalisisWidget() override;

    DeviceControlWidget* deviceControlWidget() const;
    // Every listed trace, by ascending id.
    QList<AbstractTrace*> traces() const;
    // The listed traces whose graphs are shown, by ascending id.
    QList<AbstractTrace*> visibleTraces() const;
    // The graph holder of a trace; null when it has none.
    TraceGraphsHolder* holder(int traceId) const { return m_holders.value(traceId); }
    // From the start of a read until its finish has been handled.
    bool isReadInProgress() const { return m_readInProgress; }
    KeyReceiver* keyReceiver() const { return m_keyReceiver; }

    AbstractTrace* createTrace(E_ANALISIS_TYPE type) override;
    void prepareForReport() override {}
    void restoreAfterReport() override {}
    void printReport(QWidget* parent) override;

    // Rescales the main plot to its visible curves with a margin of 5 %.
    void resetView();
    // The unit of the setting "view/axis_unit" on the axes and in the holders.
    void applyAxisUnit();
    // Gives every drawn trace the chain of the current options and redraws it.
    void rebuildProcessors();
    // A trace of joined data, listed and drawn; nothing for columns of
    // different lengths.
    void addJoinedTrace(QVector<QVector<double>> data);

    // The traces handed over to measurement, with the reason shown when
    // there are none: no trace, none visible, or visible traces of
    // different types.
    struct MeasurementCheck
    {
        QVector<AbstractTrace*> traces;
        QString error;
        bool critical = false;
    };
    MeasurementCheck checkTracesForMeasurement() const;

    QWidget* questionParent() const override;
    void setJogKeysBlocked(bool blocked) override;
    void selectCutOffIndex(int index) override;

signals:
    void readyForMeasurment(QVector<AbstractTrace*> traces);
    void lockButtons();
    void unlockButtons();
    void sendToTermalPrinter(QVector<QByteArray> byteArray);

public slots:
    void dataBatchReady(int from, int count) override;
    void dataReadStarted() override;
    void dataReadFinished() override;
    void dataReadError(QString error) override;
    void dataReset() override;
    void saveData() override;
    void settingsChanged();
    // The histograms and ratio curves of the visible traces and the profile
    // curves of all, each built again only when what it shows changed.
    // Nothing while a read runs.
    void recalcParamPlots();

private:
    void setupPlots();
    void setupPlot(PlotWidget* plot);
    void createOptionsPanel();
    void createPlot();
    void connectPanels();
    void connectTraceList();
    void connectOptions();
    void connectTools();
    void connectSidePlots();

    void onPanToggled(bool on);
    void onSelectionZoomToggled(bool on);
    void onMarkersToggled(bool on);
    void onCutTriggered();
    void onPointsToggled(bool on);
    void onRLineToggled(bool on);
    void onRFitToggled(bool on);
    void onGraphSelected(int traceId, bool selected);
    void onGraphVisible(int traceId, bool visible);
    void onRatioPlotPressed(QMouseEvent* event);
    void handOverToMeasurement();
    QList<TraceGraphsHolder*> visibleHolders() const;
    void rescaleToVisible();

    bool isReportedWithItsMainTrace(const AbstractTrace* trace) const;
    QPixmap reportImage(const AbstractTrace* trace);

    QList<QAction*> toolActions() const;
    void lockActions();
    void unlockActions();
    void lockByPanel();
    void unlockByPanel();
    void applyDeviceType(int type);

    AbstractTrace* senderTrace() const;
    TraceGraphsHolder* createHolder(AbstractTrace* trace);
    void listNewTrace(AbstractTrace* trace);
    void listAdditionalTracesOfFile(AbstractTrace* trace);
    void drawFinishedTrace(AbstractTrace* trace);
    AbstractTrace* pendingTraceBesides(const DataProvider* provider) const;
    void saveRecording(AbstractTrace* trace);
    void standardiseCutOff(AbstractTrace* trace);
    bool isBeingRead(const AbstractTrace* trace) const;
    void onTraceDeleted(int traceId);
    void onMedianChanged(bool on, int window);
    void onProfileFilterChanged();
    void onHistogramDensityChanged(int density);
    void uploadCalibrationIfAsked();

    Ui::ProfileAnalisisWidget m_ui;
    ProcessingOptionsPanel* m_options = nullptr;
    LiveTraceDrawing* m_liveDrawing = nullptr;
    QMap<int, TraceGraphsHolder*> m_holders;
    KeyReceiver* m_keyReceiver = nullptr;
    bool m_readInProgress = false;
    // A trace whose read ran while an option changed: its chain is rebuilt
    // at the finish.
    const AbstractTrace* m_outdatedChain = nullptr;
};
