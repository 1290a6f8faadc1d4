#pragma once

#include "DeviceControlWidget.h"
#include "MainWindow.h"
#include "ProfileAnalisisWidget.h"
#include "WorkspaceFixture.h"

#include <QMenuBar>
#include <QPushButton>

// No recording runs and the control panel, the tool bar and the menus take
// input.
inline bool isIdle(const MainWindow& window)
{
    ProfileAnalisisWidget* profile = window.profileWidget();
    return !profile->isReadInProgress()
        && profile->deviceControlWidget()->findChild<QPushButton*>(QStringLiteral("startTraceButton"))->isEnabled()
        && window.menuBar()->isEnabled();
}

// The rows recorded into the trace so far.
inline int rowCount(const AbstractTrace* trace)
{
    return workspace::rawData(trace).value(0).size();
}
