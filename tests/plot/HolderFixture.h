#pragma once

#include <QStringList>

#include <functional>
#include <memory>

#include "../algos/ProfileFixtures.h"
#include "ContourTrace.h"
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

// The three plots of the profile workspace with one trace's holder on them.
template <typename Trace>
struct HolderOf
{
    explicit HolderOf(const ProfileData& data)
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
    Trace trace;
    std::unique_ptr<TraceGraphsHolder> holder;
};

using HolderFixture = HolderOf<ProfileTrace>;
