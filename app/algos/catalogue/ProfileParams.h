#pragma once

#include <QMap>
#include <QString>

#include "ProfileParamEntry.h"

// The 55 profile parameters by name: roughness (the R rows and the
// level-dependent and material-ratio ones), waviness (W) and primary (P).
extern const QMap<QString, ProfileParamEntry> profileParams;
