#include "DisplayUnit.h"

#include "AppSettings.h"

#include <QMutexLocker>

namespace DisplayUnit {

namespace {

constexpr int kMicrometres = 1;
constexpr int kNanometres = 2;

} // namespace

int current()
{
    AppSettings& settings = AppSettings::instance();
    QMutexLocker lock(&settings.mutex());
    return settings.view.axis_unit;
}

double millimetresPerUnit()
{
    switch (current()) {
    case kMicrometres:
        return 0.001;
    case kNanometres:
        return 0.000001;
    default:
        return 1;
    }
}

double unitsPerMillimetre()
{
    switch (current()) {
    case kMicrometres:
        return 1000;
    case kNanometres:
        return 1000000;
    default:
        return 1;
    }
}

} // namespace DisplayUnit
