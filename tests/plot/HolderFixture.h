#pragma once

#include <QStringList>

#include <cmath>
#include <functional>
#include <memory>

#include "ProfileTrace.h"
#include "plot/PlotWidget.h"
#include "plot/TraceGraphsHolder.h"
#include "plot/TraceGraphsHost.h"

// Stands in for the profile workspace: records what the holder asks of it.
class RecordingGraphsHost : public TraceGraphsHost
{
public:
    QWidget* questionParent() const override { return parent; }
    void setJogKeysBlocked(bool blocked) override { events.append(blocked ? "block" : "unblock"); }
    void selectCutOffIndex(int index) override { events.append(QStringLiteral("select %1").arg(index)); }

    QWidget* parent = nullptr;
    QStringList events;
};

// Points (x, height(x)) in micrometres at x = from, from + step, ... up to `to`.
inline ProfileData sampledProfile(double from, double to, double step, const std::function<double(double)>& height)
{
    ProfileData profile(2);
    const int count = int(std::llround((to - from) / step)) + 1;
    for (int i = 0; i < count; ++i) {
        const double x = from + i * step;
        profile[0].append(x);
        profile[1].append(height(x));
    }
    return profile;
}

// The three plots of the profile workspace with one trace's holder on them.
struct HolderFixture
{
    explicit HolderFixture(const ProfileData& data)
        : trace(data)
    {
        for (PlotWidget* plot : {&mainPlot, &histogramPlot, &ratioPlot})
            plot->resize(400, 300);
        holder = std::make_unique<TraceGraphsHolder>(&host, &trace, &mainPlot, &histogramPlot, &ratioPlot);
    }

    PlotWidget mainPlot;
    PlotWidget histogramPlot;
    PlotWidget ratioPlot;
    RecordingGraphsHost host;
    ProfileTrace trace;
    std::unique_ptr<TraceGraphsHolder> holder;
};
