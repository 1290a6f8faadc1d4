#pragma once

#include <QString>

#include <functional>

#include "ProfileData.h"
#include "TraceTypes.h"

class ExtraArgs;

// Computes one parameter from a filtered profile and the evaluation's extra
// arguments; it changes neither.
using ProfileParamEvaluator = std::function<double(ProfileData, const ExtraArgs&)>;

// One profile parameter of the catalogue: how it is computed, on which
// filtered profile (an E_PROFILE_KIND) and the unit text shown beside it.
struct ProfileParamEntry
{
    ProfileParamEvaluator evaluator;
    int kind = ROUGHNESS;
    QString unit;
};
