#pragma once

#include <QDialogButtonBox>
#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include <functional>

class QLineEdit;
class QMenu;
class QPushButton;

// Answers every modal dialog and popup menu that opens while the object
// lives. Message boxes are recorded (title and text), their check box ticked
// when asked for, and closed with the given button. Other modal dialogs go to
// the handler set with onDialog(), or are rejected. Popup menus are recorded
// (their entries) and the entry named by chooseMenuEntry() is activated with
// the Return key, or the menu is closed.
//
// Dialog handlers and menu choices run from the event loop, not from the
// answering timer, so that a dialog they open in turn is answered as well.
class MessageBoxAnswerer : public QObject
{
    Q_OBJECT

public:
    explicit MessageBoxAnswerer(QMessageBox::StandardButton answer = QMessageBox::Ok, QObject* parent = nullptr);

    void setAnswer(QMessageBox::StandardButton answer) { m_answer = answer; }
    void setTickCheckBox(bool tick) { m_tickCheckBox = tick; }
    void onDialog(std::function<void(QWidget*)> handler) { m_dialogHandler = std::move(handler); }
    // Runs before each message box is answered, while the code that showed
    // it waits for the answer.
    void onMessageBox(std::function<void(QMessageBox*)> watcher) { m_boxWatcher = std::move(watcher); }
    void chooseMenuEntry(const QString& text) { m_menuChoice = text; }

    // Clicks the dialog's push button with the given text with the mouse;
    // false when the dialog has no such button.
    static bool clickButton(QWidget* dialog, const QString& text);
    // Clicks the standard button of the dialog's button box with the mouse;
    // false when the dialog has no such button.
    static bool clickStandardButton(QWidget* dialog, QDialogButtonBox::StandardButton button);
    // Types the text into the dialog's line edit, as an input dialog has one,
    // and clicks its OK button; false when it has no line edit or no OK.
    static bool enterText(QWidget* dialog, const QString& text);
    // Types the number into the dialog's shown number field, as an input
    // dialog has one, with typeNumber(), and clicks its OK button; false
    // when it has no such field or its OK is not enabled.
    static bool enterNumber(QWidget* dialog, const QString& text);
    // Types `path` into a file dialog's name field and confirms it with
    // Return; false when the dialog is no file dialog of the widget kind.
    static bool chooseFile(QWidget* dialog, const QString& path);
    // Only types `path` into the name field, with the completer's list
    // closed again; the name field, or null when the dialog is no file
    // dialog of the widget kind.
    static QLineEdit* typeFileName(QWidget* dialog, const QString& path);

    QStringList titles() const { return m_titles; }
    QStringList texts() const { return m_texts; }
    // The texts of the boxes' check boxes; empty for a box without one.
    QStringList checkBoxTexts() const { return m_checkBoxTexts; }
    int count() const { return m_texts.size(); }
    // The entries of each menu shown, separators left out.
    QList<QStringList> menus() const { return m_menus; }

private:
    // The first standard button of that kind in the dialog's button boxes;
    // null without one.
    static QPushButton* standardButton(QWidget* dialog, QDialogButtonBox::StandardButton button);

    void answerModal();
    void answerMessageBox(QMessageBox* box);
    void answerMenu(QMenu* menu);
    void handleLater(QWidget* widget, std::function<void()> handler);

    QMessageBox::StandardButton m_answer;
    bool m_tickCheckBox = false;
    std::function<void(QWidget*)> m_dialogHandler;
    std::function<void(QMessageBox*)> m_boxWatcher;
    QString m_menuChoice;
    QStringList m_titles;
    QStringList m_texts;
    QStringList m_checkBoxTexts;
    QList<QStringList> m_menus;
    QList<QPointer<QWidget>> m_pending;
    QTimer m_timer;
};
