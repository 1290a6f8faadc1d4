#include "SettingsDialog.h"

#include "Device.h"
#include "Logger.h"
#include "NumberFields.h"
#include "ParamsDialog.h"
#include "ReferenceRaPrompt.h"
#include "ServiceCodes.h"
#include "SettingsAccess.h"
#include "SettingsDialogValues.h"
#include "SettingsSaving.h"
#include "TermiteDialog.h"
#include "TraceTypes.h"
#include "UsersDialog.h"

#include <QInputDialog>
#include <QMessageBox>

namespace {

QString toggleLogText(const char* name, int state)
{
    return QLatin1String(name) + (state == Qt::Checked ? QLatin1String(" turned on") : QLatin1String(" turned off"));
}

bool isProfileController()
{
    return withSettings([](const AppSettings& settings) { return settings.device.device_type; }) == PROFILE;
}

} // namespace

SettingsDialog::SettingsDialog(QWidget* parent, const QList<AbstractTrace*>& traces, Device& device,
                               CalibrationLauncher launchCalibration)
    : QDialog(parent), m_traces(traces), m_device(device), m_launchCalibration(std::move(launchCalibration))
{
    Q_ASSERT_X(m_launchCalibration, "SettingsDialog", "the dialog needs the calibration launcher");
    m_ui.setupUi(this);
    NumberFields::prepare(this);
    loadSettings();
    const AppSettingsData settings = AppSettings::instance().snapshot();
    setDeveloperControlsVisible(settings.servise.is_developer_mode);
    m_ui.graphColorWidget->setColor(QColor(settings.preferenses.graph_color));
    m_ui.graphSelectionColorWidget->setColor(QColor(settings.preferenses.selected_graph_color));
    m_ui.visualObjectColorWidget->setColor(QColor(settings.preferenses.visual_objects_color));
    connectHandlers();
    adaptToDeviceType();
}

void SettingsDialog::loadSettings()
{
    const SettingsDialogValues values = SettingsDialogValues::fromSettings(AppSettings::instance().snapshot());
    m_ui.anglesInDoubleCB->setChecked(values.anglesInDegrees);
    m_ui.alternativeMeasurementCB->setChecked(values.alternativeMeasurement);
    m_ui.axisUnit->setCurrentIndex(values.axisUnitIndex);
    m_ui.alternativeControlCheckBox->setChecked(values.alternativeControl);
    m_ui.pressingPowerComboBox->setCurrentIndex(values.pressingPowerIndex);
    m_ui.standartisationComboBox->setCurrentIndex(values.standardIndex);
    m_ui.askBeforeChangeFilterCheckBox->setChecked(values.askBeforeChangeFilter);
    m_ui.facoryNameLineEdit->setText(values.factoryName);
    m_ui.scaleXResolutionSpinBox->setValue(values.scaleXResolution);
    m_ui.scaleZResolutionSpinBox->setValue(values.scaleZResolution);
    m_ui.scaleRResolutionSpinBox->setValue(values.scaleRResolution);
    m_ui.demoCheckBox->setChecked(values.demo);
}

void SettingsDialog::setDeveloperControlsVisible(bool visible)
{
    const QList<QWidget*> developerControls{
        m_ui.scaleXResolutionSpinBox, m_ui.scaleZResolutionSpinBox, m_ui.scaleRResolutionSpinBox,
        m_ui.scaleXResolutionLabel,   m_ui.scaleZResolutionLabel,   m_ui.scaleRResolutionLabel,
        m_ui.demoCheckBox,            m_ui.termitePushButton,       m_ui.termteLabel};
    for (QWidget* control : developerControls)
        control->setVisible(visible);
}

// Connected after the values were loaded, so that building the dialog logs
// and stores nothing.
void SettingsDialog::connectHandlers()
{
    connect(this, &QDialog::accepted, this, &SettingsDialog::acceptSettings);
    connect(m_ui.openUsersDialog, &QPushButton::clicked, this,
            [this] { openUsersDialogAfterPassword(UsersDialog::Inspectors, m_traces, this, m_launchCalibration); });
    connect(m_ui.consoleButton, &QPushButton::clicked, this,
            [this] { openUsersDialogAfterPassword(UsersDialog::Consoles, m_traces, this, m_launchCalibration); });
    connect(m_ui.consoleSettingsButton, &QPushButton::released, this, &SettingsDialog::startCalibration);
    connect(m_ui.paramsSettingsPushButton, &QPushButton::released, this, &SettingsDialog::openParamsDialog);
    connect(m_ui.graphColorWidget, &ColorPickerWidget::colorChanged, this,
            [this](const QColor& color) { storeColor(&PreferenceSettings::graph_color, color); });
    connect(m_ui.graphSelectionColorWidget, &ColorPickerWidget::colorChanged, this,
            [this](const QColor& color) { storeColor(&PreferenceSettings::selected_graph_color, color); });
    connect(m_ui.visualObjectColorWidget, &ColorPickerWidget::colorChanged, this,
            [this](const QColor& color) { storeColor(&PreferenceSettings::visual_objects_color, color); });
    connect(m_ui.axisUnit, &QComboBox::currentTextChanged, this, [](const QString& text) {
        Logger::instance().log(INFO, QStringLiteral("axisUnit change value to ") + text);
    });
    connect(m_ui.anglesInDoubleCB, &QCheckBox::stateChanged, this,
            [](int state) { Logger::instance().log(INFO, toggleLogText("anglesInDoubleCB", state)); });
    connect(m_ui.alternativeControlCheckBox, &QCheckBox::stateChanged, this, [](int state) {
        Logger::instance().log(INFO, toggleLogText("alternativeManagementCheckBox", state));
    });
    connect(m_ui.pressingPowerComboBox, &QComboBox::currentTextChanged, this, [](const QString& text) {
        Logger::instance().log(INFO, QStringLiteral("needlePressingComboBox change value to ") + text);
    });
    connect(m_ui.termitePushButton, &QPushButton::released, this, &SettingsDialog::openTerminal);
    connect(m_ui.facoryNameLineEdit, &QLineEdit::textChanged, this, &SettingsDialog::changeFactoryName);
}

void SettingsDialog::adaptToDeviceType()
{
    if (isProfileController()) {
        m_ui.consoleSettingsButton->setText(QStringLiteral("Калибровка"));
        m_ui.consoleButton->hide();
        m_ui.alternativeControlCheckBox->hide();
        m_ui.pressingPowerLabel->hide();
        m_ui.pressingPowerComboBox->hide();
    } else {
        m_ui.askBeforeChangeFilterCheckBox->hide();
        m_ui.paramsSettingsPushButton->hide();
    }
}

void SettingsDialog::acceptSettings()
{
    Logger::instance().log(INFO, "Accept settings");
    SettingsDialogValues values;
    values.alternativeControl = m_ui.alternativeControlCheckBox->isChecked();
    values.pressingPowerIndex = m_ui.pressingPowerComboBox->currentIndex();
    values.axisUnitIndex = m_ui.axisUnit->currentIndex();
    values.demo = m_ui.demoCheckBox->isChecked();
    values.anglesInDegrees = m_ui.anglesInDoubleCB->isChecked();
    values.alternativeMeasurement = m_ui.alternativeMeasurementCB->isChecked();
    values.standardIndex = m_ui.standartisationComboBox->currentIndex();
    values.askBeforeChangeFilter = m_ui.askBeforeChangeFilterCheckBox->checkState() == Qt::Checked;
    values.factoryName = m_ui.facoryNameLineEdit->text();
    values.scaleXResolution = m_ui.scaleXResolutionSpinBox->value();
    values.scaleZResolution = m_ui.scaleZResolutionSpinBox->value();
    values.scaleRResolution = m_ui.scaleRResolutionSpinBox->value();
    withSettings([&values](AppSettings& settings) { values.writeTo(settings); });
    saveSettingsOrWarn(parentWidget());
}

void SettingsDialog::storeColor(QString PreferenceSettings::*field, const QColor& color)
{
    withSettings([&](AppSettings& settings) { settings.preferenses.*field = color.name(); });
}

void SettingsDialog::changeFactoryName(const QString& text)
{
    const bool developer = isDeveloperCode(text);
    withSettings([&](AppSettings& settings) {
        settings.servise.is_developer_mode = developer;
        settings.servise.factory_name = text;
    });
    setDeveloperControlsVisible(developer);
    saveSettingsOrWarn(this);
}

void SettingsDialog::startCalibration()
{
    if (isProfileController())
        ReferenceRaPrompt::calibrate(this, m_device);
    else
        calibrateContourProbe();
}

void SettingsDialog::calibrateContourProbe()
{
    if (m_traces.isEmpty()) {
        QMessageBox::warning(this, QStringLiteral("Ошибка"),
                             QStringLiteral("Нет трассы для калибровки. Откройте или запишите хотя бы одну трассу"));
        return;
    }
    bool confirmed = false;
    const QString password = QInputDialog::getText(
        this, QStringLiteral("Система безопасности"), QStringLiteral("Введите пароль из руководства по эксплуатации"),
        QLineEdit::Password, QString(), &confirmed, windowFlags() & ~Qt::WindowContextHelpButtonHint);
    if (!confirmed || password.isEmpty())
        return;
    if (!isServicePassword(password)) {
        QMessageBox::critical(this, QStringLiteral("Неверный пароль"),
                              QStringLiteral("Пароль указан в руководстве по эксплуатации"));
        return;
    }
    m_launchCalibration(this, m_traces);
    loadSettings();
}

void SettingsDialog::openParamsDialog()
{
    ParamsDialog dialog(this);
    dialog.setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    dialog.exec();
}

void SettingsDialog::openTerminal()
{
    TermiteDialog terminal(this, &m_device);
    terminal.setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    terminal.exec();
}
