#pragma once

#include <QWidget>

#include "ProcessingOptions.h"
#include "ui_ProcessingOptionsPanel.h"

// The processing options in the profile workspace's tool bar: the shown
// profile (primary, roughness, waviness), the thread-angle compensation, the
// median filter and the density of the height histogram. The controls start
// from the settings; every change the user makes is logged, stored in the
// settings at once and saved, and then announced, so that the workspace
// rebuilds its traces' chains. GUI thread only.
class ProcessingOptionsPanel : public QWidget
{
    Q_OBJECT
public:
    explicit ProcessingOptionsPanel(QWidget* parent = nullptr);

    ProcessingOptions options() const;
    int histogramDensity() const;

    // Contour controllers (types 0 and 1) offer the thread-angle
    // compensation and show the primary profile only; a profile controller
    // chooses the shown profile and has no thread angle.
    void setControllerType(int type);
    // While a recording runs the chain options cannot be changed.
    void setLocked(bool locked);

signals:
    void threadAngleChanged();
    void medianChanged(bool on, int window);
    void profileFilterChanged(int index);
    void histogramDensityChanged(int density);

private:
    void fillFromSettings();
    void connectControls();
    void updateControls();
    void onThreadAngleToggled(int state);
    void onThreadAngleValueChanged(double value);
    void onMedianToggled(int state);
    void onMedianWindowChanged(int value);
    void onProfileFilterChanged(int index);
    void onHistogramDensityChanged(int value);
    void save();

    Ui::ProcessingOptionsPanel m_ui;
    bool m_locked = false;
    bool m_contourController = false;
};
