#include "EditedConsoles.h"

#include "AppSettings.h"

QMap<QString, QVector<double>> calibrationsOfEditedConsoles(const QVector<EditedName>& rows,
                                                             const QMap<QString, QVector<double>>& opening)
{
    QMap<QString, QVector<double>> calibrations;
    for (const EditedName& row : rows) {
        const QVector<double> kept = row.openingName ? opening.value(*row.openingName) : QVector<double>();
        calibrations.insert(row.name, kept.isEmpty() ? defaultConsoleCalibration() : kept);
    }
    return calibrations;
}
