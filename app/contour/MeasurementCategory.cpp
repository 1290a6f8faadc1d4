#include "MeasurementCategory.h"

#include "measurements/MeasurementKind.h"

namespace {

struct CategoryLook
{
    const char16_t* title;
    const char* icon;
};

const CategoryLook& lookOf(MeasurementCategory category)
{
    static const CategoryLook looks[kMeasurementCategoryCount] = {
        {u"ДЛИНЫ", ":/icons/icons/hdist.png"},
        {u"ОТКЛОНЕНИЯ", ":/icons/icons/lineerr.png"},
        {u"УГЛЫ", ":/icons/icons/angle.png"},
        {u"РАДИУСЫ", ":/icons/icons/rad.png"},
        {u"ШЕРОХОВАТОСТИ", ":/icons/icons/Ra.png"},
        {u"ДОП. ГЕОМЕТРИИ", ":/icons/icons/Horizontal_line.png"},
    };
    return looks[int(category)];
}

} // namespace

MeasurementCategory categoryOfType(int type, bool* known)
{
    if (known)
        *known = true;
    switch (type) {
    case VERTICAL_DISTANCE:
    case HORIZONTAL_DISTANCE:
    case DIRECT_DISTANCE:
    case MEAN_HEIGHT:
        return MeasurementCategory::Lengths;
    case VERTICAL_ANGLE:
    case HORIZONTAL_ANGLE:
    case REGULAR_ANGLE:
        return MeasurementCategory::Angles;
    case REGULAR_RADIUS:
    case ARCS_RADIUS:
        return MeasurementCategory::Radii;
    case LINE_DEVIATION:
    case CIRCLE_DEVIATION:
    case CIRCLE_DEVIATION_FILTERED:
    case CIRCLE_DEVIATION_BY_SEGMENTS:
    case CIRCLE_DEVIATION_FILTERED_BY_SEGMENTS:
    case GRAPH_DEVIATION:
        return MeasurementCategory::Deviations;
    case ROUGHNESS_RA:
    case ROUGHNESS_RZ:
        return MeasurementCategory::Roughness;
    default:
        break;
    }
    if (type >= CIRCLE && type <= DRAWING_COMPARISON)
        return MeasurementCategory::Construction;
    if (known)
        *known = false;
    return MeasurementCategory::Lengths;
}

QString categoryTitle(MeasurementCategory category)
{
    return QString::fromUtf16(lookOf(category).title);
}

QString categoryIcon(MeasurementCategory category)
{
    return QString::fromLatin1(lookOf(category).icon);
}
