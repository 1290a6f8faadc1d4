#pragma once

#include <QMap>
#include <QObject>
#include <QPointer>
#include <QPushButton>
#include <QSet>

class QKeyEvent;

// The keyboard jog keys: an event filter, installed on the whole application,
// that works the control panel's buttons as if they were pressed and
// released with the mouse (setDown, then the button's pressed or released
// signal, without looking at whether the button is enabled or visible).
//
// The receiver is switched off by blocking its signals (it has none of its
// own). A press acts only while the main window is active with no dialog or
// popup open and no field taking typed or step keys (JogKeyContext), and is
// then consumed; a release acts only when the main window's window object
// (named by Qt after the main window: "MainWindowWindow") sees it, under the
// same condition. A press that goes to a widget instead keeps its release
// from acting as well, so a Return that confirmed a dialog starts nothing
// when it goes up on the main window.
// While the receiver is off, a press is passed on and remembered by the
// release counter, so that its release, once the receiver is on again, does
// not let go of a button it never pressed.
//
// A key whose press acted keeps its button: its release lets go of that
// button wherever the release arrives, while switched off too, and even when
// the map has been replaced since; when the application loses the keyboard,
// every button still held is let go. Only Return and Space (start and stop)
// act on their release just at the main window, while switched on and while
// the keys may work the panel;
// elsewhere their button is only put up. So no axis drives on because its
// key went up over a dialog or in another program.
//
// GUI thread only. The destructor removes the receiver from the
// application's event filters.
class KeyReceiver : public QObject
{
    Q_OBJECT

public:
    using KeyMap = QMap<int, QPointer<QPushButton>>;

    KeyReceiver();
    explicit KeyReceiver(const KeyMap& keyMap);
    ~KeyReceiver() override;

    // Replaces the map as a whole; buttons held keep going by their keys.
    void setKeyMap(const KeyMap& keyMap) { m_keyMap = keyMap; }
    KeyMap keyMap() const { return m_keyMap; }

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool onKeyPress(QObject* watched, QKeyEvent* event);
    bool onKeyRelease(QObject* watched, QKeyEvent* event);
    bool releaseHeld(int key, bool mayStartOrStop);
    void releaseAllHeld();
    QPushButton* mappedButton(int key) const;

    KeyMap m_keyMap;
    // Above 0: a release may act. A press swallowed while switched off sets it to 0.
    int m_releaseCounter = 1;
    // The buttons that the presses of keys still down acted on.
    QMap<int, QPointer<QPushButton>> m_held;
    // The keys still down whose presses went to a widget.
    QSet<int> m_passedOn;
};
