#pragma once

#include <QMap>
#include <QString>

// The 55 profile parameters by id, in the order they are offered to the user.
// The settings lists store these names, so they must never change.
extern const QMap<int, QString> profileParamNames;
