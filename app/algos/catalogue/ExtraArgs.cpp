#include "ExtraArgs.h"

#include <QMutexLocker>
#include <QStringList>

#include <cmath>

#include "AppSettings.h"
#include "MaterialRatio.h"
#include "ProfileParams.h"
#include "ProfileTrace.h"

const QString ExtraArgs::kTooShortText = QStringLiteral("Недостаточная длина измерения");

QString ExtraArgs::resultText(ProfileTrace* trace, const QString& name)
{
    heightDistribution = trace->heightDistribution;
    samplingLength = trace->filterCutOff;
    level = trace->level;
    if (!coversEvaluationLength(trace))
        return kTooShortText;
    const auto entry = profileParams.constFind(name);
    if (entry == profileParams.constEnd())
        return QString();

    // An additional trace too short for the evaluation length has no value
    // of its own, so it stays out of the mean and the spread.
    QVector<double> values;
    for (ProfileTrace* additional : qAsConst(trace->additionalTraces)) {
        if (coversEvaluationLength(additional))
            values.append(
                entry->evaluator(ProfileTrace::filteredProfile(additional, samplingLength, entry->kind), *this));
    }
    values.append(entry->evaluator(ProfileTrace::filteredProfile(trace, samplingLength, entry->kind), *this));

    const QString text = spreadText(values);
    trace->parameterResults.insert(name, text);
    return text;
}

// An unusable sampling length (not a number) passes: the evaluators then
// give their neutral results.
bool ExtraArgs::coversEvaluationLength(const ProfileTrace* trace) const
{
    return !(2 * samplingLength > trace->length());
}

QString ExtraArgs::unitText(const QString& name, const QString& result)
{
    if (result.isEmpty() || result == kTooShortText)
        return QString();
    return profileParams.value(name).unit;
}

QStringList ExtraArgs::enabledParameterNames()
{
    AppSettings& settings = AppSettings::instance();
    QMutexLocker lock(&settings.mutex());
    QStringList names;
    for (int position = 0; position < settings.preferenses.enabled_params_count; ++position)
        names.append(settings.preferenses.enabled_params.value(position));
    return names;
}

void ExtraArgs::calculateAll(ProfileTrace* trace)
{
    m_sampledProfiles = std::make_shared<Algos::SampledProfileCache>();
    samplingLength = trace->filterCutOff;
    setMaterialRatioCurve(trace);
    trace->parameterResults.clear();
    for (const QString& name : enabledParameterNames()) {
        if (profileParams.contains(name))
            trace->parameterResults.insert(name, resultText(trace, name));
    }
    m_sampledProfiles.reset();
}

void ExtraArgs::updateDp(ProfileTrace* trace)
{
    const QString dp = QStringLiteral("Dp");
    if (trace->parameterResults.contains(dp))
        trace->parameterResults.insert(dp, resultText(trace, dp));
}

void ExtraArgs::setMaterialRatioCurve(ProfileTrace* trace)
{
    materialRatioCurve = Algos::materialRatioCurve(ProfileTrace::filteredProfile(trace, samplingLength, ROUGHNESS));
}

std::shared_ptr<const Algos::SampledProfile> ExtraArgs::sampledProfile(const ProfileData& profile) const
{
    if (m_sampledProfiles)
        return m_sampledProfiles->get(profile, samplingLength);
    return std::make_shared<const Algos::SampledProfile>(profile, samplingLength);
}

QString ExtraArgs::spreadText(const QVector<double>& values)
{
    double sum = 0;
    for (double value : values)
        sum += value;
    const double mean = sum / values.size();
    if (values.size() == 1)
        return QString::number(mean, 'f', 3);
    double squares = 0;
    for (double value : values)
        squares += (value - mean) * (value - mean);
    const double deviation = std::sqrt(squares / values.size());
    const double variation = deviation / mean * 100;
    return QString::number(mean, 'f', 3) + QStringLiteral("±") + QString::number(deviation, 'f', 3) +
           QStringLiteral("(") + QString::number(variation, 'f', 2) + QStringLiteral("%)");
}
