#include "FastSettingsWidget.h"

#include "DeviceCommands.h"
#include "NumberFields.h"
#include "SettingsAccess.h"
#include "SettingsSaving.h"
#include "TraceTypes.h"

#include <QRegularExpressionValidator>

namespace {

const QString kNoController = QStringLiteral("No name");
const QString kNoConsole = QStringLiteral("No console");

// The file name goes into the path of every automatically saved trace: a
// "/" would lead into a missing folder or out of the traces' folder.
const QRegularExpression kFileNameWithoutSlash(QStringLiteral("[^/]*"));

// Copies the console's calibration values (tip radius down and up, probe
// height, needle bias, roughness ratio) into the current calibration; a
// console without values changes nothing.
void takeConsoleCalibration(AppSettings& s, const QString& console)
{
    const QVector<double> values = s.consoles.value(console);
    if (values.size() < 5)
        return;
    s.calibration.tool_head_radius_down = values[0];
    s.calibration.tool_head_radius_up = values[1];
    s.calibration.double_sided_probe_high = values[2];
    s.calibration.needle_bias = values[3];
    s.calibration.roughness_ratio = values[4];
}

// Appends the names to the selector, selecting the stored choice where it is listed.
void fillSelector(QComboBox* selector, const QStringList& names, const QString& chosen)
{
    for (const QString& name : names) {
        selector->addItem(name);
        if (name == chosen)
            selector->setCurrentIndex(selector->count() - 1);
    }
}

// Appends the names to the emptied selector. A choice stored as `none` (no
// choice) becomes the first name; the item of the choice is selected. Each
// selection runs the selector's handler. Returns the choice.
QString refillSelector(QComboBox* selector, const QStringList& names, QString chosen, const QString& none)
{
    for (int i = 0; i < names.size(); ++i) {
        selector->addItem(names[i]);
        if (i == 0 && chosen == none)
            chosen = names[0];
        if (names[i] == chosen)
            selector->setCurrentIndex(i);
    }
    return chosen;
}

} // namespace

FastSettingsWidget::FastSettingsWidget(QWidget* parent) : QWidget(parent)
{
    initFromSettings();
    NumberFields::prepare(this);
    connectControls();
}

void FastSettingsWidget::initFromSettings()
{
    m_ui.setupUi(this);
    m_ui.mmPerRotationSpinBox->hide();
    m_ui.mmPerRotationLabel->hide();
    m_ui.traceFileNameLineEdit->setValidator(new QRegularExpressionValidator(kFileNameWithoutSlash, this));

    const AppSettingsData s = AppSettings::instance().snapshot();
    m_ui.needlePressingComboBox->setCurrentIndex(s.movement.needle_pressing);
    m_ui.mmPerRotationSpinBox->setValue(s.movement.mm_per_rotation);
    m_ui.measurementModeComboBox->setCurrentIndex(s.device.measurement_mode);
    m_ui.traceFileNameLineEdit->setText(s.servise.default_trace_file_name);
    setInerface(s.device.device_type);
    fillSelector(m_ui.controllersComboBox, s.controllers, s.current_controller_name);
    fillSelector(m_ui.consoleComboBox, s.console_names, s.current_console);
}

void FastSettingsWidget::connectControls()
{
    const auto indexChanged = QOverload<int>::of(&QComboBox::currentIndexChanged);
    connect(m_ui.controllersComboBox, indexChanged, this, &FastSettingsWidget::onControllerChanged);
    connect(m_ui.consoleComboBox, indexChanged, this, &FastSettingsWidget::onConsoleChanged);
    connect(m_ui.needlePressingComboBox, indexChanged, this, &FastSettingsWidget::onNeedlePressingChanged);
    connect(m_ui.mmPerRotationSpinBox, QOverload<double>::of(&QDoubleSpinBox::valueChanged), this,
            &FastSettingsWidget::onMmPerRotationChanged);
    connect(m_ui.measurementModeComboBox, indexChanged, this, &FastSettingsWidget::onMeasurementModeChanged);
    connect(m_ui.traceFileNameLineEdit, &QLineEdit::textChanged, this, &FastSettingsWidget::onTraceFileNameChanged);
}

void FastSettingsWidget::save()
{
    saveSettingsOrWarn(this);
}

void FastSettingsWidget::lockButtons()
{
    setSelectorsEnabled(false);
}

void FastSettingsWidget::unlockButtons()
{
    setSelectorsEnabled(true);
}

void FastSettingsWidget::setSelectorsEnabled(bool enabled)
{
    m_ui.needlePressingComboBox->setEnabled(enabled);
    m_ui.traceFileNameLineEdit->setEnabled(enabled);
    m_ui.controllersComboBox->setEnabled(enabled);
    m_ui.consoleComboBox->setEnabled(enabled);
    m_ui.measurementModeComboBox->setEnabled(enabled);
}

void FastSettingsWidget::enableFastSettings(bool enable)
{
    setEnabled(enable);
}

void FastSettingsWidget::setInerface(int type)
{
    const bool contour = type != PROFILE;
    m_ui.needlePressingLabel->setVisible(contour);
    m_ui.needlePressingComboBox->setVisible(contour);
    m_ui.measurementModeLabel->setVisible(contour);
    m_ui.measurementModeComboBox->setVisible(contour);
    m_ui.upperLabel->setVisible(!contour);
    if (!contour) {
        m_ui.consoleComboBox->hide();
        m_ui.consoleLabel->hide();
    }
}

void FastSettingsWidget::onNeedlePressingChanged(int index)
{
    const int power = withSettings([index](AppSettings& s) {
        s.movement.needle_pressing = MovementSettings::E_NEEDLE_PRESSING(index);
        return s.device.power_pressing;
    });
    save();
    emit changePressingPower(MovementSettings::E_NEEDLE_PRESSING(index), power);
    m_ui.needlePressingComboBox->clearFocus();
}

void FastSettingsWidget::onMmPerRotationChanged(double value)
{
    withSettings([value](AppSettings& s) { s.movement.mm_per_rotation = value; });
    save();
    emit setMMPerRotation(m_ui.mmPerRotationSpinBox->value());
    m_ui.mmPerRotationSpinBox->clearFocus();
}

void FastSettingsWidget::onMeasurementModeChanged(int index)
{
    withSettings([index](AppSettings& s) { s.device.measurement_mode = index; });
    save();
    emit setDeviceType(DeviceCommands::contourTypeForMeasurementMode(index));
    m_ui.measurementModeComboBox->clearFocus();
}

void FastSettingsWidget::onTraceFileNameChanged(const QString& text)
{
    withSettings([&text](AppSettings& s) { s.servise.default_trace_file_name = text; });
    save();
}

void FastSettingsWidget::onControllerChanged(int index)
{
    const bool chosen = withSettings([index](AppSettings& s) {
        if (index < 0 || index >= s.controllers.size())
            return false;
        s.current_controller_name = s.controllers[index];
        return true;
    });
    if (chosen)
        save();
    m_ui.controllersComboBox->clearFocus();
}

void FastSettingsWidget::onConsoleChanged(int index)
{
    const int current = m_ui.consoleComboBox->currentIndex();
    const bool chosen = withSettings([index, current](AppSettings& s) {
        if (index < 0 || s.console_names.isEmpty() || current < 0 || current >= s.console_names.size())
            return false;
        s.current_console = s.console_names[current];
        takeConsoleCalibration(s, s.current_console);
        return true;
    });
    if (chosen)
        save();
    m_ui.consoleComboBox->clearFocus();
}

void FastSettingsWidget::refreshSelectors()
{
    const auto [controllers, consoles, controllerBefore, consoleBefore] =
        withSettings([](const AppSettings& s) {
            return std::make_tuple(s.controllers, s.console_names, s.current_controller_name, s.current_console);
        });
    m_ui.controllersComboBox->clear();
    m_ui.consoleComboBox->clear();

    const QString savedController =
        refillSelector(m_ui.controllersComboBox, controllers, controllerBefore, kNoController);
    withSettings([&savedController](AppSettings& s) { s.current_controller_name = savedController; });
    const QString savedConsole = refillSelector(m_ui.consoleComboBox, consoles, consoleBefore, kNoConsole);
    withSettings([&savedConsole](AppSettings& s) {
        s.current_console = savedConsole;
        if (savedConsole != kNoConsole)
            takeConsoleCalibration(s, savedConsole);
    });
}
