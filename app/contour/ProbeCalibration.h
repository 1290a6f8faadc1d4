#pragma once

#include "CalibrationField.h"

#include <QString>
#include <QVector>

#include <functional>
#include <optional>

class AbstractTrace;
class ContourTrace;

// What the calibration screen does with the settings record and the traces'
// calibration copies, apart from the widgets: it remembers the values of the
// moment the screen opened, applies each change of the panel, puts the
// opening values back on discard and stores the probe values under a
// console on save. Every write to the record holds its lock, since the
// contour point conversion reads these fields on the recording thread.
class ProbeCalibration
{
public:
    enum class SaveResult { Cancelled, Failed, Saved };

    // Remembers the record's calibration values as they are now.
    ProbeCalibration();

    // The five probe values the panel shows at set-up (tip radius down and
    // up, probe height, needle bias, roughness ratio): those of the current
    // console, or the record's own when the console has no complete set.
    static QVector<double> shownProbeValues(const AppSettingsData& settings);

    // Whether saving must first ask for the console: there is none, or the
    // current one is not among the consoles, so that it would not be written.
    static bool needsConsoleChoice(const AppSettingsData& settings);

    // Remembers the calibration copy of each contour trace for discard();
    // other traces are never written.
    void setTraces(const QVector<AbstractTrace*>& traces);

    // Writes the value into the record and into each contour trace's copy.
    void apply(CalibrationField field, double value);

    // Puts the record's values and the traces' copies of the opening back.
    void discard();

    // Stores the record's five probe values under a console and saves the
    // settings with `saveFile`. The console is the current one, or the answer
    // of `chooseConsole` (none: cancelled, nothing stored) when `alwaysChoose`
    // or when needsConsoleChoice(). A change of the instrument's values since
    // the opening asks for their upload. When `saveFile` fails, the consoles,
    // the current console and the upload request are put back as they were
    // before the save.
    SaveResult save(bool alwaysChoose, const std::function<std::optional<QString>()>& chooseConsole,
                    const std::function<bool()>& saveFile);

private:
    bool instrumentValuesChanged(const AppSettingsData& settings) const;

    double m_opening[kCalibrationFieldCount];
    QVector<ContourTrace*> m_contourTraces;
    QVector<QVector<double>> m_openingCopies;
};
