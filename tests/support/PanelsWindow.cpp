#include "PanelsWindow.h"

#include "DataProvider.h"
#include "DeviceControlWidget.h"
#include "FastSettingsWidget.h"
#include "KeyReceiver.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QStatusBar>
#include <QtTest>

PanelsWindow::PanelsWindow()
{
    setObjectName(QStringLiteral("MainWindow"));
    auto* central = new QWidget;
    auto* layout = new QHBoxLayout(central);
    // The quick settings are built first, as in the workspace's form.
    m_fastSettings = new FastSettingsWidget;
    m_fastSettings->setObjectName(QStringLiteral("fastSettingsWidget"));
    m_panel = new DeviceControlWidget;
    m_panel->setObjectName(QStringLiteral("deviceControlWidget"));
    layout->addWidget(m_fastSettings);
    layout->addWidget(m_panel);
    setCentralWidget(central);

    connect(m_panel, &DeviceControlWidget::newTrace, this, &PanelsWindow::takeProvider);
    connect(m_panel, &DeviceControlWidget::lockButtons, m_fastSettings, &FastSettingsWidget::lockButtons);
    connect(m_panel, &DeviceControlWidget::lockButtons, this, [this] { ++m_locks; });
    connect(m_panel, &DeviceControlWidget::unlockButtons, m_fastSettings, &FastSettingsWidget::unlockButtons);
    connect(m_panel, &DeviceControlWidget::unlockButtons, this, [this] { ++m_unlocks; });
    connect(m_panel, &DeviceControlWidget::enableFastSettings, m_fastSettings,
            &FastSettingsWidget::enableFastSettings);
    connect(m_panel, &DeviceControlWidget::newDeviceType, m_fastSettings, &FastSettingsWidget::setInerface);
    connect(m_fastSettings, &FastSettingsWidget::setDeviceType, m_panel, &DeviceControlWidget::setDeviceType);
    connect(m_fastSettings, &FastSettingsWidget::changePressingPower, m_panel,
            &DeviceControlWidget::changePressingPower);
    connect(m_fastSettings, &FastSettingsWidget::setMMPerRotation, m_panel, &DeviceControlWidget::setMMPerRotation);
    connect(m_panel, &DeviceControlWidget::statusBarText, this, [this](const QString& text) {
        m_statusHistory << text;
        statusBar()->showMessage(text);
    });

    m_keys = m_panel->keyReceiver();
    qApp->installEventFilter(m_keys);
}

PanelsWindow::~PanelsWindow()
{
    m_provider.reset();
}

Device& PanelsWindow::device() const
{
    return *m_panel->device();
}

QString PanelsWindow::statusText() const
{
    return statusBar()->currentMessage();
}

void PanelsWindow::takeProvider(DataProvider* provider, E_ANALISIS_TYPE type)
{
    m_provider.reset(provider);
    m_traces.push_back(std::make_unique<RecordedTrace>(type));
    m_provider->start(m_traces.back().get());
}
