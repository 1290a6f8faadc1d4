#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QProgressBar;

// The small modal window of a long automatic operation of the instrument
// (search for the surface maximum, probe calibration): the operation's name,
// a progress bar and the current step. It closes itself 500 ms after the
// progress reaches its maximum; the event loop runs meanwhile.
class ProgressBar : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kCloseDelayMs = 500;

    explicit ProgressBar(QWidget* parent);

public slots:
    void showStatus(int status, int maxValue, const QString& processName, const QString& statusName);

private:
    QLabel* m_processName;
    QProgressBar* m_progress;
    QLabel* m_statusName;
};
