#include "ProcessingOptionsPanel.h"

#include <QMutexLocker>

#include <functional>

#include "AppSettings.h"
#include "Logger.h"
#include "NumberFields.h"
#include "SettingsSaving.h"
#include "TraceTypes.h"

namespace {

void changePreferences(const std::function<void(PreferenceSettings&)>& change)
{
    AppSettings& settings = AppSettings::instance();
    QMutexLocker lock(&settings.mutex());
    change(settings.preferenses);
}

void logInfo(const QString& text)
{
    Logger::instance().log(INFO, text);
}

} // namespace

ProcessingOptionsPanel::ProcessingOptionsPanel(QWidget* parent)
    : QWidget(parent)
{
    m_ui.setupUi(this);
    NumberFields::prepare(this);
    fillFromSettings();
    connectControls();
}

ProcessingOptions ProcessingOptionsPanel::options() const
{
    ProcessingOptions options;
    options.median = m_ui.medianCheckBox->isChecked();
    options.medianWindow = m_ui.medianSpinBox->value();
    options.threadAngle = m_ui.threadAngleCheckBox->isChecked();
    options.threadAngleDegrees = m_ui.threadAngleSpinBox->value();
    options.profileFilter = m_ui.profileFilterComboBox->currentIndex();
    return options;
}

int ProcessingOptionsPanel::histogramDensity() const
{
    return m_ui.histogramDensitySpinBox->value();
}

void ProcessingOptionsPanel::setControllerType(int type)
{
    m_contourController = type == CONTOUR || type == CONTOUR_PROFILE;
    updateControls();
}

void ProcessingOptionsPanel::setLocked(bool locked)
{
    m_locked = locked;
    updateControls();
}

void ProcessingOptionsPanel::fillFromSettings()
{
    const AppSettingsData settings = AppSettings::instance().snapshot();
    const PreferenceSettings& p = settings.preferenses;
    m_ui.profileFilterComboBox->setCurrentIndex(p.profile_filter_mode);
    m_ui.threadAngleCheckBox->setChecked(p.thread_angle_compensation);
    m_ui.threadAngleSpinBox->setValue(p.thread_angle_compensation_value);
    m_ui.medianCheckBox->setChecked(p.meadian_filter);
    m_ui.medianSpinBox->setValue(p.meadian_filter_value);
    m_ui.histogramDensitySpinBox->setValue(p.histogramm_density_value);
    setControllerType(settings.device.device_type);
}

void ProcessingOptionsPanel::connectControls()
{
    connect(m_ui.threadAngleCheckBox, &QCheckBox::stateChanged, this, &ProcessingOptionsPanel::onThreadAngleToggled);
    connect(m_ui.threadAngleSpinBox, qOverload<double>(&QDoubleSpinBox::valueChanged), this,
            &ProcessingOptionsPanel::onThreadAngleValueChanged);
    connect(m_ui.medianCheckBox, &QCheckBox::stateChanged, this, &ProcessingOptionsPanel::onMedianToggled);
    connect(m_ui.medianSpinBox, qOverload<int>(&QSpinBox::valueChanged), this,
            &ProcessingOptionsPanel::onMedianWindowChanged);
    connect(m_ui.profileFilterComboBox, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &ProcessingOptionsPanel::onProfileFilterChanged);
    connect(m_ui.histogramDensitySpinBox, qOverload<int>(&QSpinBox::valueChanged), this,
            &ProcessingOptionsPanel::onHistogramDensityChanged);
}

// A spin box takes a value only while its option is on.
void ProcessingOptionsPanel::updateControls()
{
    m_ui.threadAngleCheckBox->setVisible(m_contourController);
    m_ui.threadAngleSpinBox->setVisible(m_contourController);
    m_ui.profileFilterComboBox->setEnabled(!m_locked && !m_contourController);
    m_ui.threadAngleCheckBox->setEnabled(!m_locked);
    m_ui.threadAngleSpinBox->setEnabled(!m_locked && m_ui.threadAngleCheckBox->isChecked());
    m_ui.medianCheckBox->setEnabled(!m_locked);
    m_ui.medianSpinBox->setEnabled(!m_locked && m_ui.medianCheckBox->isChecked());
}

void ProcessingOptionsPanel::onThreadAngleToggled(int state)
{
    const bool on = state == Qt::Checked;
    logInfo(on ? QStringLiteral("Thread compensation turn on") : QStringLiteral("Thread compensation turn off"));
    changePreferences([on](PreferenceSettings& p) { p.thread_angle_compensation = on; });
    updateControls();
    emit threadAngleChanged();
    save();
}

void ProcessingOptionsPanel::onThreadAngleValueChanged(double value)
{
    logInfo(QStringLiteral("Thread compensation change value to ") + QString::number(value, 'f', 6));
    changePreferences([value](PreferenceSettings& p) { p.thread_angle_compensation_value = value; });
    save();
    emit threadAngleChanged();
}

void ProcessingOptionsPanel::onMedianToggled(int state)
{
    const bool on = state == Qt::Checked;
    logInfo(on ? QStringLiteral("Median filter turn on") : QStringLiteral("Median filter turn off"));
    changePreferences([on](PreferenceSettings& p) { p.meadian_filter = on; });
    updateControls();
    save();
    emit medianChanged(on, m_ui.medianSpinBox->value());
}

void ProcessingOptionsPanel::onMedianWindowChanged(int value)
{
    logInfo(QStringLiteral("Median filter change value to ") + QString::number(value));
    changePreferences([value](PreferenceSettings& p) { p.meadian_filter_value = value; });
    save();
    emit medianChanged(m_ui.medianCheckBox->isChecked(), value);
}

void ProcessingOptionsPanel::onProfileFilterChanged(int index)
{
    logInfo(QStringLiteral("Profile fiter mode change value"));
    changePreferences([index](PreferenceSettings& p) { p.profile_filter_mode = index; });
    save();
    emit profileFilterChanged(index);
}

void ProcessingOptionsPanel::onHistogramDensityChanged(int value)
{
    logInfo(QStringLiteral("Histogram densyty spinner change value to ") + QString::number(value));
    changePreferences([value](PreferenceSettings& p) { p.histogramm_density_value = value; });
    save();
    emit histogramDensityChanged(value);
}

void ProcessingOptionsPanel::save()
{
    saveSettingsOrWarn(window());
}
