#pragma once

#include "TreeGroupRecord.h"

#include <QDateTime>
#include <QString>
#include <QVector>

#include <nlohmann/json.hpp>

#include <vector>

class AbstractTrace;

// The fields of a contour report that do not come from the tree or the
// traces.
struct ContourReportFields
{
    QDateTime date;
    QString partName;
    QString controllerName;
    QString factoryName;
    QString comment;
};

// The plot label of the n-th row (1-based) of the tree group named
// `groupName` while a report is printed ("α_2"); empty for the construction
// group and for a name that is no group of results.
QString reportLabelText(const std::string& groupName, int n);

// The report's JSON document: the fields, one object per trace (each with
// the list of the traces so far) and, for each group of results that has
// rows, its rows named by the group's prefix and a counter that matches the
// plot label. The construction group is left out.
nlohmann::json contourReportJson(const ContourReportFields& fields, const QVector<AbstractTrace*>& traces,
                                 const std::vector<TreeGroupRecord>& groups);
