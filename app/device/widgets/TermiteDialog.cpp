#include "TermiteDialog.h"

#include "Device.h"

#include <QScrollBar>
#include <QTextCursor>

TermiteDialog::TermiteDialog(QWidget* parent, Device* device)
    : QDialog(parent), m_device(device)
{
    m_ui.setupUi(this);
    m_ui.startPushButton->setEnabled(false);
    m_ui.displayPlainTextEdit->setReadOnly(true);

    m_flushTimer.setInterval(kFlushIntervalMs);
    connect(&m_flushTimer, &QTimer::timeout, this, &TermiteDialog::flush);
    m_flushTimer.start();

    connect(device, &Device::rowDataFromDevice, this, &TermiteDialog::collect);
    connect(m_ui.enterPushButton, &QPushButton::released, this, &TermiteDialog::send);
    connect(m_ui.enterTextEdit, &QTextEdit::textChanged, this, &TermiteDialog::onInputChanged);
    connect(m_ui.stopPushButton, &QPushButton::released, this, &TermiteDialog::stopCapture);
    connect(m_ui.startPushButton, &QPushButton::released, this, &TermiteDialog::startCapture);
    connect(m_ui.clearPushButton, &QPushButton::released, this, &TermiteDialog::clearLog);
}

void TermiteDialog::collect(const QString& data)
{
    if (m_capture)
        m_received += data;
}

void TermiteDialog::flush()
{
    if (m_received.isEmpty())
        return;
    QPlainTextEdit* log = m_ui.displayPlainTextEdit;
    QTextCursor cursor = log->textCursor();
    cursor.movePosition(QTextCursor::End);
    log->setTextCursor(cursor);
    log->insertPlainText(m_received);
    scrollLogToBottom();
    m_received.clear();
}

// The echo goes where the log's cursor stands, without moving it to the end.
void TermiteDialog::send()
{
    QString text = m_ui.enterTextEdit->toPlainText();
    if (text.isEmpty())
        return;
    m_device->sendRaw(text);
    if (!text.contains(QLatin1Char('\n')))
        text += QLatin1Char('\n');
    m_ui.displayPlainTextEdit->insertPlainText(text);
    scrollLogToBottom();
    m_ui.enterTextEdit->clear();
}

void TermiteDialog::onInputChanged()
{
    if (m_ui.enterTextEdit->toPlainText().contains(QLatin1Char('\n')))
        m_ui.enterPushButton->click();
}

void TermiteDialog::stopCapture()
{
    m_ui.stopPushButton->setEnabled(false);
    m_ui.startPushButton->setEnabled(true);
    m_capture = false;
}

void TermiteDialog::startCapture()
{
    m_ui.stopPushButton->setEnabled(true);
    m_ui.startPushButton->setEnabled(false);
    m_capture = true;
}

void TermiteDialog::clearLog()
{
    m_ui.displayPlainTextEdit->clear();
}

void TermiteDialog::scrollLogToBottom()
{
    QScrollBar* bar = m_ui.displayPlainTextEdit->verticalScrollBar();
    bar->setValue(bar->maximum());
}
