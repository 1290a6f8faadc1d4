#pragma once

#include "ControllerLink.h"
#include "TraceTypes.h"

#include <QMainWindow>
#include <QString>

#include <memory>
#include <vector>

class DataProvider;
class DeviceControlWidget;
class FastSettingsWidget;
class KeyReceiver;

// A main window (object name "MainWindow", so its window object is
// "MainWindowWindow") holding the quick-settings panel and the control panel,
// wired to each other as the profile workspace wires them: a new trace of
// the control panel becomes the window's provider, which it starts on a
// trace of the given type; the lock, unlock, enable and device-type signals
// drive the quick settings; the quick settings' signals go to the control
// panel's slots; the status texts go to the status bar. The jog-key receiver
// is installed on the application, as the main window does.
//
// Build it after the port list offers the simulated controller: the panel's
// device starts its search a second later.
class PanelsWindow : public QMainWindow
{
    Q_OBJECT

public:
    PanelsWindow();
    ~PanelsWindow() override;

    DeviceControlWidget* panel() const { return m_panel; }
    FastSettingsWidget* fastSettings() const { return m_fastSettings; }
    KeyReceiver* keys() const { return m_keys; }
    Device& device() const;

    // The provider and trace of the last recording (null before the first).
    DataProvider* provider() const { return m_provider.get(); }
    RecordedTrace* trace() const { return m_traces.empty() ? nullptr : m_traces.back().get(); }
    int recordingCount() const { return int(m_traces.size()); }
    QString statusText() const;
    // Every status text the control panel sent, oldest first.
    QStringList statusHistory() const { return m_statusHistory; }
    // How often the control panel locked and unlocked the workspace.
    int lockCount() const { return m_locks; }
    int unlockCount() const { return m_unlocks; }

    bool showActive() { return ::showActive(*this); }

private:
    void takeProvider(DataProvider* provider, E_ANALISIS_TYPE type);

    FastSettingsWidget* m_fastSettings;
    DeviceControlWidget* m_panel;
    KeyReceiver* m_keys;
    // The traces live for the whole run, as the workspace's do; the provider
    // goes first.
    std::vector<std::unique_ptr<RecordedTrace>> m_traces;
    std::unique_ptr<DataProvider> m_provider;
    QStringList m_statusHistory;
    int m_locks = 0;
    int m_unlocks = 0;
};

// The simulated controller and the panels' window.
using PanelLink = ControllerLink<PanelsWindow>;
