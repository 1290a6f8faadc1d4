#include "ContourAnalisisWidget.h"
#include "ContourReport.h"
#include "ContourReportData.h"
#include "MeasurementsManager.h"

#include "AppSettings.h"
#include "DesktopServices.h"
#include "Logger.h"
#include "ReportRenderer.h"
#include "measurements/Measurement.h"

#include <QDateTime>
#include <QFileDialog>
#include <QMessageBox>

// The contour report.

void labelMeasurementsForReport(MeasurementTreeWidget* tree, MeasurementsManager* manager, bool numbered)
{
    for (const TreeGroupRecord& group : tree->collectItems()) {
        int n = 0;
        for (const TreeItemRecord& record : group.items) {
            ++n;
            Measurement* measurement = manager->findMeasurement(record.id);
            if (!measurement)
                continue;
            const QString label = reportLabelText(group.name, n);
            if (!label.isEmpty() && numbered) {
                measurement->setLabelText(label);
                measurement->updateLabel();
                record.item->setText(0, QString::number(n) + QLatin1Char(' ') + record.item->text(0));
            } else if (!label.isEmpty()) {
                measurement->clearLabelText();
                measurement->calculate();
                record.item->setText(0, measurement->name());
            }
            measurement->setLabelEnlarged(numbered);
        }
    }
}

nlohmann::json buildContourReportJson(ContourAnalisisWidget* widget)
{
    const AppSettingsData settings = AppSettings::instance().snapshot();
    const ContourReportFields fields{QDateTime::currentDateTime(), widget->partName(),
                                     settings.current_controller_name, settings.servise.factory_name,
                                     widget->comment()};
    return contourReportJson(fields, widget->traces(), widget->measurementTree()->collectItems());
}

QVector<QPixmap> renderPlotImages(ContourAnalisisWidget* widget)
{
    PlotWidget* plot = widget->plot();
    return {plot->toPixmap(plot->width(), plot->height(), 1.0)};
}

void ContourAnalisisWidget::prepareForReport()
{
    labelMeasurementsForReport(m_ui.measurementTree, m_manager, true);
    m_ui.plot->setSelectionMarkerVisible(false);
    m_ui.plot->replot(QCustomPlot::rpRefreshHint);
}

void ContourAnalisisWidget::restoreAfterReport()
{
    labelMeasurementsForReport(m_ui.measurementTree, m_manager, false);
    m_ui.plot->setSelectionMarkerVisible(true);
    m_ui.plot->replot(QCustomPlot::rpRefreshHint);
}

// The output is opened only when the renderer wrote it.
void ContourAnalisisWidget::printReport(QWidget* parent)
{
    if (m_traces.isEmpty()) {
        QMessageBox::warning(parent, QStringLiteral("Ошибка печати отчёта"),
                             QStringLiteral("Нет трасс для сохранения отчёта"), QMessageBox::Ok);
        return;
    }
    const QString suggested = AppSettings::instance().snapshot().servise.default_trace_file_name
                              + QDateTime::currentDateTime().toString(QStringLiteral("_yyyy_MM_dd_HH_mm_ss"));
    const QString answer = QFileDialog::getSaveFileName(parent, QStringLiteral("Сохранить отчет"), suggested);
    if (answer.isEmpty())
        return;
    const QString path = answer + QStringLiteral(".html");
    prepareForReport();
    const nlohmann::json data = buildContourReportJson(this);
    const QVector<QPixmap> images = renderPlotImages(this);
    const bool written = generateReport(parent, QStringLiteral("reports/contour.md"), path,
                                        QStringLiteral("reports/contour_ref.odt"), images, data);
    restoreAfterReport();
    if (written)
        DesktopServices::openPath(path);
}
