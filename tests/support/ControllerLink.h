#pragma once

#include "AppSettings.h"
#include "DeviceCommands.h"
#include "LinkTestSupport.h"

#include <QApplication>
#include <QtTest>

#include <memory>
#include <string>

// Shows the window, makes it active and waits until it is. The offscreen
// platform does not report a window active again that it still holds as
// its focus window (after a dialog over it has gone, or after the
// application lost the keyboard); the window system does, so the
// application is told here.
template <typename Window>
bool showActive(Window& window)
{
    window.show();
    window.activateWindow();
    QApplication::setActiveWindow(&window);
    return QTest::qWaitForWindowActive(&window);
}

// A simulated controller that the search finds, and a window holding the
// instrument panels (the panels' window, the profile workspace). The
// window's control panel starts its search a second after it is built.
template <typename Window>
struct ControllerLink
{
    explicit ControllerLink(SimulatedController::Family family) : controller(family)
    {
        controller.start();
        ports.set({controller.portName()});
    }

    // Builds the window, shows it active and waits until the controller is
    // set up. The speed goes out once when the port opens (by the type the
    // settings hold) and once more at the end of the set-up.
    bool connect()
    {
        window = std::make_unique<Window>();
        return showActive(*window) && waitUntilSetUp();
    }

    // Waits until the window's device has set the controller up, the
    // controller type in the settings being the one the device started with.
    bool waitUntilSetUp()
    {
        const int typeAtStart = AppSettings::instance().snapshot().device.device_type;
        const int speedCommands = DeviceCommands::speed(typeAtStart, 0) == lastInitCommand() ? 2 : 1;
        return waitForCommand(controller, lastInitCommand(), speedCommands);
    }

    std::string lastInitCommand() const
    {
        return controller.family() == SimulatedController::Family::Profile ? "PS0" : "SX0";
    }
    QString port() const { return QString::fromStdString(controller.portName()); }

    SimulatedController controller;
    ScopedPortList ports;
    std::unique_ptr<Window> window;
};
