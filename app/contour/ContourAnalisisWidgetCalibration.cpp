#include "ContourAnalisisWidget.h"

#include "ConsoleSelectDialog.h"
#include "MeasurementsManager.h"

#include "AbstractTrace.h"
#include "AppSettings.h"
#include "SettingsSaving.h"
#include "measurements/Measurement.h"
#include "plot/AdaptiveCurve.h"

#include <QCheckBox>
#include <QDoubleSpinBox>

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

QVector<ContourAnalisisWidget::CalibrationInput> ContourAnalisisWidget::calibrationInputs() const
{
    return {
        {CalibrationField::ToolHeadRadiusDown, m_ui.downHeadRadiusSpinBox, m_ui.downHeadRadiusLable},
        {CalibrationField::ToolHeadRadiusUp, m_ui.upperHeadRadiusSpinBox, m_ui.upperHeadRadiusLable},
        {CalibrationField::DoubleSidedProbeHigh, m_ui.doubleSidedProbeHighSpinBox, m_ui.doubleSidedProbeHighLabel},
        {CalibrationField::NeedleBias, m_ui.needleBiasSpinBox, m_ui.needleBiasLabel},
        {CalibrationField::RoughnessRatio, m_ui.roughnessRatioSpinBox, m_ui.roughnessRatioLabel},
        {CalibrationField::RackPerpendicular, m_ui.rackPerpendicularSpinBox, m_ui.rackPerpendicularLabel},
        {CalibrationField::XAxisCompressionRatio, m_ui.xAxisCompressionRatioSpinBox, m_ui.xAxisCompressionRatioLabel},
        {CalibrationField::YAxisCompressionRatio, m_ui.yAxisCompressionRatioSpinBox, m_ui.yAxisCompressionRatioLabel},
        {CalibrationField::DisplacementCoefficient, m_ui.displacementCoefficientSpinBox,
         m_ui.displacementCoefficientLabel},
        {CalibrationField::GaussFilterDisabled, m_ui.enableGaussFilterCheckBox, nullptr},
        {CalibrationField::RadiusEliminationDisabled, m_ui.enableRadiusEliminationCheckBox, nullptr},
    };
}

// The panel shows the values of the record (the probe values of the current
// console where it has them); its widgets are connected only afterwards, so
// that loading them changes nothing. Which probe values are shown is decided
// when the traces arrive.
void ContourAnalisisWidget::prepareCalibrationPanel()
{
    m_ui.detailNameEdit->hide();
    m_ui.detailNameLabel->hide();
    m_ui.CommentLabel->hide();
    m_ui.commentTextEdit->hide();
    m_ui.measurementTree->setExtendedColumns(true);

    m_calibration = std::make_unique<ProbeCalibration>();
    const AppSettingsData settings = AppSettings::instance().snapshot();
    const QVector<double> probeValues = ProbeCalibration::shownProbeValues(settings);
    for (const CalibrationInput& input : calibrationInputs()) {
        const int index = int(input.field);
        const double value = index < probeValues.size() ? probeValues[index] : calibrationValue(input.field, settings);
        if (auto* spinBox = qobject_cast<QDoubleSpinBox*>(input.widget)) {
            spinBox->setValue(value);
            connect(spinBox, qOverload<double>(&QDoubleSpinBox::valueChanged), this,
                    &ContourAnalisisWidget::calibrationDataValueChangedManually);
        } else if (auto* checkBox = qobject_cast<QCheckBox*>(input.widget)) {
            checkBox->setChecked(value != 0);
            connect(checkBox, &QCheckBox::stateChanged, this,
                    [this](int state) { calibrationDataValueChangedManually(state); });
        }
    }
    showCalibrationInputs(CalibrationPanelVisibility({}, settings.servise.is_developer_mode));
    connect(m_ui.discardChangesPushButton, &QPushButton::clicked, this, &ContourAnalisisWidget::discardCalibration);
    connect(m_ui.savePushButton, &QPushButton::clicked, this, &ContourAnalisisWidget::saveCalibration);
    connect(m_ui.saveAsPushButton, &QPushButton::clicked, this, &ContourAnalisisWidget::saveCalibrationAs);
}

void ContourAnalisisWidget::showCalibrationInputs(const CalibrationPanelVisibility& visibility)
{
    for (const CalibrationInput& input : calibrationInputs()) {
        const bool shown = visibility.isShown(input.field);
        input.widget->setVisible(shown);
        if (input.label)
            input.label->setVisible(shown);
    }
}

void ContourAnalisisWidget::setCalibrationTraces(const QVector<AbstractTrace*>& traces)
{
    m_calibration->setTraces(traces);
    showCalibrationInputs(
        CalibrationPanelVisibility(traces, AppSettings::instance().snapshot().servise.is_developer_mode));
}

bool ContourAnalisisWidget::isCalibrationSaved() const
{
    return m_calibrationSaved;
}

void ContourAnalisisWidget::calibrationDataValueChangedManually(double val)
{
    m_calibrationSaved = false;
    for (const CalibrationInput& input : calibrationInputs()) {
        if (input.widget != sender())
            continue;
        const auto* checkBox = qobject_cast<QCheckBox*>(input.widget);
        m_calibration->apply(input.field, checkBox ? double(checkBox->isChecked()) : val);
    }
    reprocessCalibratedTraces();
}

// Every trace is processed again with the calibration now in force and its
// curve refilled, turned by the levelling still in force; then every
// measurement follows.
void ContourAnalisisWidget::reprocessCalibratedTraces()
{
    for (int i = 0; i < m_traces.size() && i < m_curves.size(); ++i) {
        m_traces[i]->reprocess();
        if (m_curves[i])
            fillCurve(m_curves[i], m_traces[i]);
    }
    for (Measurement* measurement : m_manager->measurements()) {
        measurement->reloadSettings();
        measurement->calculate();
        updateMeasurementItem(measurement);
    }
    m_ui.plot->replot(QCustomPlot::rpRefreshHint);
}

void ContourAnalisisWidget::saveCalibration()
{
    storeCalibration(false);
}

void ContourAnalisisWidget::saveCalibrationAs()
{
    storeCalibration(true);
}

// A cancelled console choice or a failed save keeps the screen open.
void ContourAnalisisWidget::storeCalibration(bool alwaysChooseConsole)
{
    const auto chooseConsole = [this]() -> std::optional<QString> {
        ConsoleSelectDialog dialog(this);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.selectedConsole();
    };
    const auto saveFile = [this] { return saveSettingsOrWarn(this); };
    if (m_calibration->save(alwaysChooseConsole, chooseConsole, saveFile) != ProbeCalibration::SaveResult::Saved)
        return;
    m_calibrationSaved = true;
    emit closeDialogCalibration();
}

// The traces get their calibration of the opening back, so that the profile
// workspace and the next screen see them as they were.
void ContourAnalisisWidget::discardCalibration()
{
    m_calibration->discard();
    reprocessCalibratedTraces();
    m_calibrationSaved = true;
    emit closeDialogCalibration();
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
