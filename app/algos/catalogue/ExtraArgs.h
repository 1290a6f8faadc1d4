#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

#include <memory>

#include "ProfileData.h"
#include "SampledProfile.h"
#include "SampledProfileCache.h"

class ProfileTrace;

// What the parameter evaluators need besides the profile, and the three ways
// the parameters of a profile trace are computed into display texts. One
// record is reused for trace after trace; it keeps the values of the last.
class ExtraArgs
{
public:
    // Sampling length in micrometres: the trace's filter cut-off.
    double samplingLength = 0;
    // Material ratio in % and level in micrometres of the trace's roughness profile.
    ProfileData materialRatioCurve;
    // Band middle level in micrometres and share in %, as the trace holds it.
    ProfileData heightDistribution;
    // Height level of the level-dependent parameters, micrometres.
    double level = 0;

    // The parameter of the trace as display text, without its unit: the
    // value, or with additional traces the spread of the values of the traces
    // long enough for the evaluation; stored in the trace's parameter
    // results. A trace shorter than two sampling lengths gives
    // "Недостаточная длина измерения" and stores nothing; a name that is not
    // in the catalogue gives an empty text and stores nothing.
    QString resultText(ProfileTrace* trace, const QString& name);
    // The unit shown beside a parameter's result: the catalogue's, or none
    // where the result holds no value.
    static QString unitText(const QString& name, const QString& result);
    // Replaces the trace's parameter results by those of the enabled parameters.
    void calculateAll(ProfileTrace* trace);
    // Computes "Dp" again if the trace's results hold it.
    void updateDp(ProfileTrace* trace);
    void setMaterialRatioCurve(ProfileTrace* trace);

    // The profile split into sampling lengths of samplingLength. Within one
    // calculateAll every parameter of the same profile gets the same one.
    std::shared_ptr<const Algos::SampledProfile> sampledProfile(const ProfileData& profile) const;

    // One value as "0.412"; several (a main trace and its additional traces)
    // as mean, population standard deviation and coefficient of variation:
    // "1.204±0.051(4.24%)".
    static QString spreadText(const QVector<double>& values);

    // The names of the settings' list of shown parameters, in order; an
    // empty name where the list has a gap.
    static QStringList enabledParameterNames();

    static const QString kTooShortText;

private:
    // Twice the sampling length fits into the trace.
    bool coversEvaluationLength(const ProfileTrace* trace) const;

    std::shared_ptr<Algos::SampledProfileCache> m_sampledProfiles;
};
