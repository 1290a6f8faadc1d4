#include "ContourReportData.h"

#include "AbstractTrace.h"
#include "MeasurementCategory.h"

#include <iterator>

namespace {

struct ReportCategory
{
    MeasurementCategory category;
    const char* labelPrefix;
    const char* groupKey;
    const char* namePrefix;
};

// The groups of results in the tree's initial order. The JSON name prefixes
// begin with a blank.
constexpr ReportCategory kReportCategories[] = {
    {MeasurementCategory::Lengths, "L", "distances", " L_"},
    {MeasurementCategory::Deviations, "E", "errors", " E_"},
    {MeasurementCategory::Angles, "α", "angles", " α_"},
    {MeasurementCategory::Radii, "R", "rads", " R_"},
    {MeasurementCategory::Roughness, "r", "roughness", " r_"},
};

const ReportCategory* reportCategoryNamed(const std::string& groupName)
{
    const QString name = QString::fromStdString(groupName);
    for (const ReportCategory& category : kReportCategories) {
        if (categoryTitle(category.category) == name)
            return &category;
    }
    return nullptr;
}

nlohmann::json traceEntry(const AbstractTrace* trace)
{
    return {{"id", trace->id + 1},
            {"trace_author", trace->controllerName},
            {"creation_date", trace->creationDateString()}};
}

nlohmann::json tracesJson(const QVector<AbstractTrace*>& traces)
{
    nlohmann::json soFar = nlohmann::json::array();
    nlohmann::json result = nlohmann::json::array();
    for (const AbstractTrace* trace : traces) {
        soFar.push_back(traceEntry(trace));
        nlohmann::json entry = traceEntry(trace);
        entry["traces"] = soFar;
        result.push_back(entry);
    }
    return result;
}

void addResultGroups(nlohmann::json& document, const std::vector<TreeGroupRecord>& groups)
{
    constexpr int kCount = int(std::size(kReportCategories));
    nlohmann::json measurements[kCount];
    for (const TreeGroupRecord& group : groups) {
        const ReportCategory* category = reportCategoryNamed(group.name);
        if (!category)
            continue;
        nlohmann::json& rows = measurements[category - kReportCategories];
        for (const TreeItemRecord& record : group.items) {
            const std::string name = category->namePrefix + std::to_string(rows.size() + 1);
            rows.push_back({{"name", name}, {"value", record.value}});
        }
    }
    for (int i = 0; i < kCount; ++i) {
        if (measurements[i].empty())
            continue;
        const ReportCategory& category = kReportCategories[i];
        const std::string title = categoryTitle(category.category).toStdString();
        document[category.groupKey].push_back({{"name", title}, {"measurements", measurements[i]}});
    }
}

} // namespace

QString reportLabelText(const std::string& groupName, int n)
{
    const ReportCategory* category = reportCategoryNamed(groupName);
    if (!category)
        return {};
    return QString::fromUtf8(category->labelPrefix) + QLatin1Char('_') + QString::number(n);
}

nlohmann::json contourReportJson(const ContourReportFields& fields, const QVector<AbstractTrace*>& traces,
                                 const std::vector<TreeGroupRecord>& groups)
{
    nlohmann::json document = {
        {"date", fields.date.toString(QStringLiteral("dd-MM-yyyy HH:mm:ss")).toStdString()},
        {"part_name", fields.partName.toStdString()},
        {"controller_name", fields.controllerName.toStdString()},
        {"factory_name", fields.factoryName.toStdString()},
        {"comment", fields.comment.toStdString()},
        {"traces", tracesJson(traces)},
    };
    addResultGroups(document, groups);
    return document;
}
