#pragma once

#include "contour/MeasurementsManager.h"
#include "measurements/Measurement.h"

#include "plot/AdaptiveCurve.h"

#include "PlotFixture.h"

#include <QDialog>
#include <QHash>
#include <QVBoxLayout>

#include <functional>

// A plot with one trace along y = 50 inside a dialog, as the calibration
// screen hosts a contour workspace, and the manager of its measurements.
// Every measurement the test makes through make() or the manager's factory is
// watched: deletions() counts how often each was destroyed.
template <typename Manager>
class ManagerScene
{
public:
    ManagerScene()
        : curve(f.addHorizontalCurve<AdaptiveCurve>(50))
        , manager(&f.plot, &host)
    {
        auto* layout = new QVBoxLayout(&host);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(&f.plot);
        host.resize(640, 480);
        host.show();
        if (!QTest::qWaitForWindowExposed(&host))
            qWarning("host window not exposed");
        f.plot.xAxis->setRange(0, 100);
        f.plot.yAxis->setRange(0, 100);
        f.plot.replot();
        manager.setTraces({nullptr});
    }

    // Watches a measurement for its deletion.
    template <typename M>
    M* watch(M* measurement)
    {
        m_watched.append(measurement);
        QObject::connect(measurement, &QObject::destroyed, [this, measurement] { ++m_deletions[measurement]; });
        return measurement;
    }

    int deletions(const QObject* measurement) const { return m_deletions.value(measurement); }
    // Every watched measurement was deleted exactly once.
    bool eachDeletedOnce() const
    {
        for (const QObject* m : m_watched) {
            if (m_deletions.value(m) != 1)
                return false;
        }
        return true;
    }
    int watchedCount() const { return m_watched.size(); }
    const QList<const QObject*>& watched() const { return m_watched; }

    // Removes the row of an abandoned measurement as the workspace does:
    // through removeMeasurement.
    void removeAbandonedAsWorkspace()
    {
        QObject::connect(&manager, &MeasurementsManager::deleteMeasurement, &manager,
                         [this](Measurement* m) { manager.removeMeasurement(m->id()); });
    }

    void clickAt(double x, double y)
    {
        const QPoint p = f.pixel(x, y);
        f.move(p);
        f.press(p);
        f.release(p);
    }

private:
    // Before the plot and the manager, which delete what is watched.
    QList<const QObject*> m_watched;
    QHash<const QObject*, int> m_deletions;

public:
    QDialog host;
    PlotFixture f;
    AdaptiveCurve* curve;
    Manager manager;
};
