#include "ProgressBar.h"

#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>

ProgressBar::ProgressBar(QWidget* parent)
    : QDialog(parent), m_processName(new QLabel), m_progress(new QProgressBar), m_statusName(new QLabel)
{
    resize(325, 100);
    m_processName->setAlignment(Qt::AlignHCenter);
    m_statusName->setAlignment(Qt::AlignHCenter);
    auto* layout = new QVBoxLayout;
    layout->addWidget(m_processName);
    layout->addWidget(m_progress);
    layout->addWidget(m_statusName);
    setLayout(layout);
}

void ProgressBar::showStatus(int status, int maxValue, const QString& processName, const QString& statusName)
{
    m_processName->setText(processName);
    m_progress->setRange(0, maxValue);
    m_progress->setValue(status);
    m_statusName->setText(statusName);
    if (status == maxValue)
        QTimer::singleShot(kCloseDelayMs, this, &QDialog::close);
}
