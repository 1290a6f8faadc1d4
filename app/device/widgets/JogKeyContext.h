#pragma once

class QWidget;

// Whether a jog key may work the control panel, judged from what the
// application shows when the key arrives: only while the main window itself
// (object name "MainWindow") is the active window, no modal dialog or popup
// is open and the widget with the keyboard focus does not take typed or step
// keys. Otherwise the key belongs to the widget: a Space typed into a file
// name or an arrow in a spin box must not move the instrument.
//
// GUI thread only.
class JogKeyContext
{
public:
    static constexpr const char* kMainWindowName = "MainWindow";

    // What the application shows; null where there is none.
    struct Scene
    {
        const QWidget* activeWindow = nullptr;
        const QWidget* modal = nullptr;
        const QWidget* popup = nullptr;
        const QWidget* focus = nullptr;
    };

    // The application's active window, modal widget, popup and focus widget now.
    static Scene current();

    static bool drivesPanel(const Scene& scene);

    // A line edit, a spin box of any kind, an editable combo box, a text
    // edit or plain text edit, or an item view inside a dialog.
    static bool takesKeys(const QWidget* focus);
};
