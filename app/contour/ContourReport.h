#pragma once

#include <QPixmap>
#include <QVector>

#include <nlohmann/json.hpp>

class ContourAnalisisWidget;
class MeasurementTreeWidget;
class MeasurementsManager;

// The contour report's steps, used by the workspace's print.

// Numbered: every measurement of a group of results gets its plot label
// ("α_2") and its row the number before its name; not numbered: the labels
// go and each measurement is recalculated, which brings its own label back,
// and its row shows its name again. Labels are enlarged while numbered.
void labelMeasurementsForReport(MeasurementTreeWidget* tree, MeasurementsManager* manager, bool numbered);

// The report's JSON document from the tab's fields, traces and tree.
nlohmann::json buildContourReportJson(ContourAnalisisWidget* widget);

// The plot at its current size.
QVector<QPixmap> renderPlotImages(ContourAnalisisWidget* widget);
