#include "ContourAnalisisWidget.h"

#include "AppSettings.h"
#include "SettingsSaving.h"

// Calibration mode: the probe calibration screen.

// Angles show in degrees on the calibration screen; the setting is changed in
// memory only and restored when the screen closes.
void ContourAnalisisWidget::enterCalibrationSettings()
{
    AppSettings& settings = AppSettings::instance();
    QMutexLocker lock(&settings.mutex());
    m_savedAnglesInDeg = settings.view.angles_in_deg;
    settings.view.angles_in_deg = true;
}

void ContourAnalisisWidget::prepareCalibrationPanel()
{
    m_ui.detailNameEdit->hide();
    m_ui.detailNameLabel->hide();
    m_ui.CommentLabel->hide();
    m_ui.commentTextEdit->hide();
    m_ui.measurementTree->setExtendedColumns(true);
}

void ContourAnalisisWidget::leaveCalibrationSettings()
{
    {
        AppSettings& settings = AppSettings::instance();
        QMutexLocker lock(&settings.mutex());
        settings.view.angles_in_deg = m_savedAnglesInDeg;
    }
    saveSettingsOrWarn(nullptr);
}
