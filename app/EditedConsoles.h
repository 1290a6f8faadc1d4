#pragma once

#include <QMap>
#include <QString>
#include <QVector>

#include <optional>

// One row of an edited name list: its text now and, for a row that the list
// was opened with, the name it had then.
struct EditedName
{
    QString name;
    std::optional<QString> openingName;
};

// The calibration of every console of an edited console list, read from the
// calibrations the list was opened with: a console keeps the values of its
// opening name under its new name; a console added since, or one that had no
// values, gets defaultConsoleCalibration(). A later row of the same name
// replaces an earlier one's values.
QMap<QString, QVector<double>> calibrationsOfEditedConsoles(const QVector<EditedName>& rows,
                                                             const QMap<QString, QVector<double>>& opening);
