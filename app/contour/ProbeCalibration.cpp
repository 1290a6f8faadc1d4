#include "ProbeCalibration.h"

#include "ContourTrace.h"

#include <QMutexLocker>

namespace {

constexpr CalibrationField kProbeFields[] = {
    CalibrationField::ToolHeadRadiusDown, CalibrationField::ToolHeadRadiusUp,
    CalibrationField::DoubleSidedProbeHigh, CalibrationField::NeedleBias,
    CalibrationField::RoughnessRatio,
};
constexpr int kProbeValueCount = 5;

QVector<double> recordProbeValues(const AppSettingsData& settings)
{
    QVector<double> values;
    for (CalibrationField field : kProbeFields)
        values.append(calibrationValue(field, settings));
    return values;
}

// The consoles, the current console and the upload request as a save
// found them.
void restoreConsoles(const AppSettingsData& before, AppSettingsData& settings)
{
    settings.console_names = before.console_names;
    settings.consoles = before.consoles;
    settings.current_console = before.current_console;
    settings.calibration.upload_device_settings = before.calibration.upload_device_settings;
}

} // namespace

ProbeCalibration::ProbeCalibration()
{
    const AppSettingsData settings = AppSettings::instance().snapshot();
    for (int i = 0; i < kCalibrationFieldCount; ++i)
        m_opening[i] = calibrationValue(calibrationFieldAt(i), settings);
}

QVector<double> ProbeCalibration::shownProbeValues(const AppSettingsData& settings)
{
    const QVector<double> console = settings.consoles.value(settings.current_console);
    if (console.size() < kProbeValueCount)
        return recordProbeValues(settings);
    return console.mid(0, kProbeValueCount);
}

bool ProbeCalibration::needsConsoleChoice(const AppSettingsData& settings)
{
    return !settings.console_names.contains(settings.current_console);
}

void ProbeCalibration::setTraces(const QVector<AbstractTrace*>& traces)
{
    m_contourTraces.clear();
    m_openingCopies.clear();
    for (AbstractTrace* trace : traces) {
        auto* contour = dynamic_cast<ContourTrace*>(trace);
        if (!contour)
            continue;
        QVector<double> copy;
        for (int i = 0; i < kTraceCopyFieldCount; ++i)
            copy.append(traceCopyValue(calibrationFieldAt(i), *contour));
        m_contourTraces.append(contour);
        m_openingCopies.append(copy);
    }
}

void ProbeCalibration::apply(CalibrationField field, double value)
{
    {
        AppSettings& settings = AppSettings::instance();
        QMutexLocker lock(&settings.mutex());
        setCalibrationValue(field, value, settings);
    }
    for (ContourTrace* trace : qAsConst(m_contourTraces))
        setTraceCopyValue(field, value, *trace);
}

void ProbeCalibration::discard()
{
    {
        AppSettings& settings = AppSettings::instance();
        QMutexLocker lock(&settings.mutex());
        for (int i = 0; i < kCalibrationFieldCount; ++i)
            setCalibrationValue(calibrationFieldAt(i), m_opening[i], settings);
    }
    for (int t = 0; t < m_contourTraces.size(); ++t) {
        for (int i = 0; i < kTraceCopyFieldCount; ++i)
            setTraceCopyValue(calibrationFieldAt(i), m_openingCopies[t][i], *m_contourTraces[t]);
    }
}

ProbeCalibration::SaveResult ProbeCalibration::save(bool alwaysChoose,
                                                    const std::function<std::optional<QString>()>& chooseConsole,
                                                    const std::function<bool()>& saveFile)
{
    AppSettings& settings = AppSettings::instance();
    const AppSettingsData before = settings.snapshot();
    QString console = before.current_console;
    if (alwaysChoose || needsConsoleChoice(before)) {
        const std::optional<QString> chosen = chooseConsole();
        if (!chosen)
            return SaveResult::Cancelled;
        console = *chosen;
    }
    {
        QMutexLocker lock(&settings.mutex());
        settings.consoles.insert(console, recordProbeValues(settings));
        settings.current_console = console;
        if (instrumentValuesChanged(settings))
            settings.calibration.upload_device_settings = true;
    }
    if (saveFile())
        return SaveResult::Saved;
    QMutexLocker lock(&settings.mutex());
    restoreConsoles(before, settings);
    return SaveResult::Failed;
}

bool ProbeCalibration::instrumentValuesChanged(const AppSettingsData& settings) const
{
    for (int i = 0; i < kCalibrationFieldCount; ++i) {
        const CalibrationField field = calibrationFieldAt(i);
        if (isUploadedToInstrument(field) && calibrationValue(field, settings) != m_opening[i])
            return true;
    }
    return false;
}
