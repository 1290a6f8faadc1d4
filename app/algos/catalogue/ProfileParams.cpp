#include "ProfileParams.h"

#include <utility>

#include "AmplitudeParameters.h"
#include "ExtraArgs.h"
#include "HeightDistribution.h"
#include "MaterialRatio.h"
#include "SpacingParameters.h"

namespace {

using Sampled = Algos::SampledProfile;

// An evaluator of a function of the profile's sampling lengths.
ProfileParamEvaluator overSamplingLengths(double (*compute)(const Sampled&))
{
    return [compute](ProfileData profile, const ExtraArgs& args) {
        return compute(*args.sampledProfile(profile));
    };
}

ProfileParamEvaluator atLevel(double (*compute)(const Sampled&, double))
{
    return [compute](ProfileData profile, const ExtraArgs& args) {
        return compute(*args.sampledProfile(profile), args.level);
    };
}

// A fraction given in %.
ProfileParamEvaluator inPercent(ProfileParamEvaluator fraction)
{
    return [fraction](ProfileData profile, const ExtraArgs& args) { return 100 * fraction(std::move(profile), args); };
}

ProfileParamEvaluator ofMaterialRatioCurve(double (*compute)(const ProfileData&))
{
    return [compute](ProfileData, const ExtraArgs& args) { return compute(args.materialRatioCurve); };
}

const QString kMicrometres = QStringLiteral("мкм");
const QString kDegrees = QStringLiteral("°");
const QString kPercent = QStringLiteral("%");

struct Row
{
    QString name;
    QString unit;
    ProfileParamEvaluator evaluator;
};

QVector<Row> roughnessRows()
{
    return {
        {QStringLiteral("Ra"), kMicrometres, overSamplingLengths(Algos::Ra)},
        {QStringLiteral("Rmax"), kMicrometres, overSamplingLengths(Algos::Rmax)},
        {QStringLiteral("Rp"), kMicrometres, overSamplingLengths(Algos::Rp)},
        {QStringLiteral("Rv"), kMicrometres, overSamplingLengths(Algos::Rv)},
        {QStringLiteral("Rz"), kMicrometres, overSamplingLengths(Algos::Rz)},
        {QStringLiteral("R3z"), kMicrometres, overSamplingLengths(Algos::R3z)},
        {QStringLiteral("Rc"), kMicrometres, overSamplingLengths(Algos::Rc)},
        {QStringLiteral("Rt"), kMicrometres, overSamplingLengths(Algos::Rt)},
        {QStringLiteral("Rq"), kMicrometres, overSamplingLengths(Algos::Rq)},
        {QStringLiteral("Rsk"), QString(), overSamplingLengths(Algos::Rsk)},
        {QStringLiteral("Rku"), QString(), overSamplingLengths(Algos::Rku)},
        {QStringLiteral("RSm"), kMicrometres, overSamplingLengths(Algos::RSm)},
        {QStringLiteral("Rm"), kMicrometres, overSamplingLengths(Algos::Rm)},
        {QStringLiteral("RΔq(Δq)"), kDegrees, overSamplingLengths(Algos::RDq)},
        {QStringLiteral("RΔa(Δa)"), kDegrees, overSamplingLengths(Algos::RDa)},
        {QStringLiteral("S"), kMicrometres, overSamplingLengths(Algos::S)},
        // D counts the peaks per 10000 micrometres, that is per centimetre.
        {QStringLiteral("D"), QStringLiteral("1/см"), overSamplingLengths(Algos::D)},
        {QStringLiteral("Dp"), kPercent,
         [](ProfileData, const ExtraArgs& args) { return Algos::Dp(args.heightDistribution, args.level); }},
        {QStringLiteral("L0"), kMicrometres, overSamplingLengths(Algos::L0)},
        {QStringLiteral("l0"), QString(), overSamplingLengths(Algos::l0)},
        {QStringLiteral("λq"), kMicrometres, overSamplingLengths(Algos::lambdaQ)},
        {QStringLiteral("λa"), kMicrometres, overSamplingLengths(Algos::lambdaA)},
        {QStringLiteral("ηp"), kMicrometres, atLevel(Algos::etaP)},
        // tp is a fraction of the sampling length.
        {QStringLiteral("tp"), kPercent, inPercent(atLevel(Algos::tp))},
        {QStringLiteral("Rk"), kMicrometres, ofMaterialRatioCurve(Algos::Rk)},
        {QStringLiteral("Rpk"), kMicrometres, ofMaterialRatioCurve(Algos::Rpk)},
        {QStringLiteral("Rvk"), kMicrometres, ofMaterialRatioCurve(Algos::Rvk)},
        {QStringLiteral("Mr1(tp1)"), kPercent, ofMaterialRatioCurve(Algos::Mr1)},
        {QStringLiteral("Mr2(tp2)"), kPercent, ofMaterialRatioCurve(Algos::Mr2)},
    };
}

// The waviness and primary rows compute what the roughness row of the same
// place computes, on their own filtered profile.
struct SameAsRoughness
{
    const char* waviness;
    const char* primary;
    const char* roughness;
};

const SameAsRoughness kOtherKinds[] = {
    {"Wa", "Pa", "Ra"},     {"Wmax", "Pmax", "Rmax"}, {"Wp", "Pp", "Rp"},         {"Wv", "Pv", "Rv"},
    {"Wz", "Pz", "Rz"},     {"Wc", "Pc", "Rc"},       {"Wt", "Pt", "Rt"},         {"Wq", "Pq", "Rq"},
    {"Wsk", "Psk", "Rsk"},  {"Wku", "Pku", "Rku"},    {"WSm", "PSm", "RSm"},      {"WΔq", "PΔq", "RΔq(Δq)"},
    {"WΔa", "PΔa", "RΔa(Δa)"},
};

QMap<QString, ProfileParamEntry> buildCatalogue()
{
    QMap<QString, ProfileParamEntry> catalogue;
    for (const Row& row : roughnessRows())
        catalogue.insert(row.name, {row.evaluator, ROUGHNESS, row.unit});
    for (const SameAsRoughness& names : kOtherKinds) {
        const ProfileParamEntry roughness = catalogue.value(QString::fromUtf8(names.roughness));
        catalogue.insert(QString::fromUtf8(names.waviness), {roughness.evaluator, WAVINESS, roughness.unit});
        catalogue.insert(QString::fromUtf8(names.primary), {roughness.evaluator, PRIMARY, roughness.unit});
    }
    return catalogue;
}

} // namespace

const QMap<QString, ProfileParamEntry> profileParams = buildCatalogue();
