#include "ProcessingChain.h"

#include <cmath>

#include "DataMedianFilterProcessor.h"
#include "FilterRoughnessProfileProcessor.h"
#include "FilterWaveProfileProcessor.h"
#include "ProfileTrace.h"
#include "ThreadAngleCompensationProcessor.h"
#include "TraceTypes.h"
#include "YZeronator.h"

namespace {

bool isProfileType(const AbstractTrace& trace)
{
    return trace.type == PROFILE || trace.type == ADDITIONAL_TRACE;
}

void appendCommonSteps(AbstractTrace& trace, const ProcessingOptions& options)
{
    if (options.median)
        trace.addPostProcessor(new DataMedianFilterProcessor(options.medianWindow));
    if (options.threadAngle)
        trace.addPostProcessor(new ThreadAngleCompensationProcessor(options.threadAngleDegrees));
}

void appendProfileFilter(AbstractTrace& trace, const ProcessingOptions& options, double cutOff)
{
    switch (options.profileFilter) {
    case ProcessingOptions::RoughnessProfile:
        trace.addPostProcessor(new FilterRoughnessProfileProcessor(cutOff));
        break;
    case ProcessingOptions::WavinessProfile:
        trace.addPostProcessor(new FilterWaveProfileProcessor(cutOff));
        break;
    default:
        break;
    }
}

} // namespace

namespace ProcessingChain {

void appendFirstChain(AbstractTrace& trace, const ProcessingOptions& options, double cutOff)
{
    appendCommonSteps(trace, options);
    if (!isProfileType(trace))
        return;
    appendProfileFilter(trace, options, cutOff);
    trace.addPostProcessor(new YZeronator);
}

void replaceChain(AbstractTrace& trace, const ProcessingOptions& options)
{
    trace.clearPostProcessors();
    appendCommonSteps(trace, options);
    if (!isProfileType(trace))
        return;
    trace.addPostProcessor(new YZeronator);
    const auto* profile = dynamic_cast<const ProfileTrace*>(&trace);
    if (profile && std::isfinite(profile->filterCutOff) && profile->filterCutOff > 0)
        appendProfileFilter(trace, options, profile->filterCutOff);
}

} // namespace ProcessingChain
