#include "ProfileReport.h"

#include <QMutexLocker>

#include "AppSettings.h"
#include "ExtraArgs.h"
#include "ProfileTrace.h"
#include "TraceTypes.h"

namespace {

std::string utf8(const QString& text)
{
    return text.toStdString();
}

QString number(double value)
{
    return QString::number(value, 'g', 6);
}

double rawLength(const ProfileTrace& trace)
{
    const LockedTraceData locked = trace.lockedRawData();
    const ProfileData& raw = *locked.data;
    if (raw.isEmpty() || raw.first().isEmpty())
        return 0;
    return raw.first().last() - raw.first().first();
}

nlohmann::json traceRecord(const ProfileTrace& trace)
{
    return {
        {"controler_name", trace.controllerName},
        {"filter", utf8(number(trace.filterCutOff / 1000) + QStringLiteral(" мм"))},
        {"trace_length", utf8(number(rawLength(trace) / 1000) + QStringLiteral(" мм"))},
        {"speed", utf8(number(trace.speed) + QStringLiteral(" мм/с"))},
        {"creation_date", trace.creationDateString()},
    };
}

// With no shown parameter the inner list is never made: the outer one then
// holds a single null, which the templates read as no rows.
nlohmann::json parameterRecords(ProfileTrace* trace, ExtraArgs& args)
{
    if (trace->parameterResults.isEmpty())
        args.calculateAll(trace);
    nlohmann::json records;
    for (const QString& name : ExtraArgs::enabledParameterNames()) {
        const QString value = trace->parameterResults.value(name);
        records.push_back(
            {{"name", utf8(name)}, {"value", utf8(value)}, {"unit", utf8(ExtraArgs::unitText(name, value))}});
    }
    return nlohmann::json::array({records.is_null() ? nlohmann::json() : nlohmann::json{{"params", records}}});
}

} // namespace

nlohmann::json ProfileReport::data(AbstractTrace* trace, ExtraArgs& args)
{
    auto* profile = dynamic_cast<ProfileTrace*>(trace);
    if (profile && trace->type == ADDITIONAL_TRACE && profile->parentTrace)
        profile = profile->parentTrace;
    if (!profile || profile->type != PROFILE)
        return nullptr;

    nlohmann::json records = nlohmann::json::array({traceRecord(*profile)});
    for (const ProfileTrace* additional : qAsConst(profile->additionalTraces))
        records.push_back(traceRecord(*additional));

    QString factoryName;
    QString detailName;
    {
        AppSettings& settings = AppSettings::instance();
        QMutexLocker lock(&settings.mutex());
        factoryName = settings.servise.factory_name;
        detailName = settings.servise.default_trace_file_name;
    }
    return {
        {"factory_name", utf8(factoryName)},
        {"detail_name", utf8(detailName)},
        {"traces_data", nlohmann::json::array({{{"trace_data", records}}})},
        {"params", parameterRecords(profile, args)},
    };
}

QString ProfileReport::templatePath(int traceType)
{
    return traceType == CONTOUR || traceType == CONTOUR_PROFILE ? QStringLiteral("reports/contour_trace_profile.md")
                                                                 : QStringLiteral("reports/profile.md");
}

QString ProfileReport::referenceDocPath(int traceType)
{
    return traceType == CONTOUR || traceType == CONTOUR_PROFILE ? QStringLiteral("reports/contour_trace_profile.odt")
                                                                 : QStringLiteral("reports/profile.odt");
}

QString ProfileReport::proposedName(const QString& baseName, const QDateTime& time)
{
    return baseName + time.toString(QStringLiteral("_yyyy_MM_dd_HH_mm_ss"));
}

QString ProfileReport::outputPath(const QString& chosenPath)
{
    const QString extension = QStringLiteral(".html");
    return chosenPath.endsWith(extension, Qt::CaseInsensitive) ? chosenPath : chosenPath + extension;
}
