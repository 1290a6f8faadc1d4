#pragma once

#include "ui_TermiteDialog.h"

#include <QDialog>
#include <QString>
#include <QTimer>

class Device;

// A small serial terminal over the instrument link: shows every block of
// bytes the device reads, as text, and sends what the operator types as a
// raw command. Received text is collected while capture is on and shown
// every 100 ms.
class TermiteDialog : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kFlushIntervalMs = 100;

    // The device outlives the dialog.
    TermiteDialog(QWidget* parent, Device* device);

private:
    void collect(const QString& data);
    void flush();
    void send();
    void onInputChanged();
    void stopCapture();
    void startCapture();
    void clearLog();
    void scrollLogToBottom();

    Device* m_device;
    bool m_capture = true;
    QString m_received;
    QTimer m_flushTimer;
    Ui::TermiteDialog m_ui;
};
