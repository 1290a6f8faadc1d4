#include "MeasurementKind.h"

#include <QVector>

namespace {

const QString kLengths = QStringLiteral("Длины");
const QString kAngles = QStringLiteral("Углы");
const QString kRadii = QStringLiteral("Радиусы");
const QString kCircleDeviation = QStringLiteral("Отклонение от окружности");
const QString kFilteredByCircle = QStringLiteral("Отклонения от окружности с фильтрацией");
const QString kRoughness = QStringLiteral("Шероховатости");
const QString kCircle = QStringLiteral("Окружность");
const QString kLines = QStringLiteral("Доп геометрия Линии");
const QString kLevelling = QStringLiteral("Выравнивание");

const QVector<MeasurementKind>& kinds()
{
    static const QVector<MeasurementKind> table = {
        {VERTICAL_DISTANCE, QStringLiteral("Высота"), kLengths, 0, true},
        {HORIZONTAL_DISTANCE, QStringLiteral("Длина"), kLengths, 1, true},
        {DIRECT_DISTANCE, QStringLiteral("Прямая"), kLengths, 2, true},
        {VERTICAL_ANGLE, QStringLiteral("Угол (В)"), kAngles, 3, true},
        {HORIZONTAL_ANGLE, QStringLiteral("Угол (Г)"), kAngles, 4, true},
        {REGULAR_ANGLE, QStringLiteral("Угол"), kAngles, 5, true},
        {REGULAR_RADIUS, QStringLiteral("Радиус"), kRadii, 6, true},
        {ARCS_RADIUS, QStringLiteral("Радиус (A)"), kRadii, 7, true},
        {LAY_FLAT, kLevelling, QString(), 8, true},
        {LAY_FLAT_BY_TWO, kLevelling, QString(), 9, true},
        {MEAN_HEIGHT, QStringLiteral("Ср. Высота"), kLengths, 10, true},
        {LINE_DEVIATION, QStringLiteral("Отклонение от прямой"), QStringLiteral("Отклонения от окружности"), 11, true},
        {CIRCLE_DEVIATION, kCircleDeviation, QStringLiteral("Отклонения"), 12, true},
        {CIRCLE_DEVIATION_SPECIFIED, kCircleDeviation, QStringLiteral("Отклонения от окружности указанного радиуса"),
         12, true},
        {CIRCLE_DEVIATION_FILTERED, kCircleDeviation, QStringLiteral("Отклонения от радиуса с фильтрацией"), 12, true},
        {CIRCLE_DEVIATION_BY_SEGMENTS, kCircleDeviation, kFilteredByCircle, 12, true},
        {CIRCLE_DEVIATION_FILTERED_BY_SEGMENTS, kCircleDeviation, kFilteredByCircle, 12, true},
        {ROUGHNESS_RA, QStringLiteral("Ra"), kRoughness, 18, true},
        {ROUGHNESS_RZ, QStringLiteral("Rz"), kRoughness, 19, true},
        {CIRCLE, kCircle, kRadii, 20, false},
        {CIRCLE_SPECIFIED, kCircle, kRadii, 21, false},
        {HORIZONTAL_LINE, QStringLiteral("Горизонтальная прямая"), kLines, 22, false},
        {VERTICAL_LINE, QStringLiteral("Вертикальная прямая"), kLines, 23, false},
        {TWO_POINT_LINE, QStringLiteral("Прямая по двум точкам"), kLines, 24, false},
        {TRACE_POINT, QStringLiteral("Точка на трассе"), kLines, 25, false},
        {MIDDLE_POINT, QStringLiteral("Средняя точка"), kLines, 26, false},
        {THREAD_MEAN_DIAMETER, QStringLiteral("Средний диаметр"), kLines, 27, false},
        {MAX_POINT, QStringLiteral("Точка максимума"), kLines, 28, true},
        {MIN_POINT, QStringLiteral("Точка минимума"), kLines, 29, true},
        {TEXT_PLACEMENT, QStringLiteral("Текст"), QStringLiteral("Текст"), 30, false},
        {DRAWING_COMPARISON, QStringLiteral("Чертёж DXF"), QStringLiteral("Сравнение с чертежём"), 31, true},
        {GRAPH_DEVIATION, QStringLiteral("Отклонение от чертежа"), QStringLiteral("Отклонения от графика"), 32, true},
    };
    return table;
}

} // namespace

const MeasurementKind* measurementKind(int code)
{
    for (const MeasurementKind& kind : kinds()) {
        if (kind.code == code)
            return &kind;
    }
    return nullptr;
}
