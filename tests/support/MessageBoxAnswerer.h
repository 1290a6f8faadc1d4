#pragma once

#include <QMessageBox>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <functional>

// Answers every modal dialog that opens while the object lives. Message boxes
// are recorded (title and text) and closed with the given button; other
// modal dialogs go to the handler set with onDialog(), or are rejected.
class MessageBoxAnswerer : public QObject
{
    Q_OBJECT

public:
    explicit MessageBoxAnswerer(QMessageBox::StandardButton answer = QMessageBox::Ok, QObject* parent = nullptr);

    void setAnswer(QMessageBox::StandardButton answer) { m_answer = answer; }
    void onDialog(std::function<void(QWidget*)> handler) { m_dialogHandler = std::move(handler); }

    // Clicks the dialog's push button with the given text with the mouse;
    // false when the dialog has no such button.
    static bool clickButton(QWidget* dialog, const QString& text);

    QStringList titles() const { return m_titles; }
    QStringList texts() const { return m_texts; }
    int count() const { return m_texts.size(); }

private:
    void answerModal();

    QMessageBox::StandardButton m_answer;
    std::function<void(QWidget*)> m_dialogHandler;
    QStringList m_titles;
    QStringList m_texts;
    QTimer m_timer;
};
