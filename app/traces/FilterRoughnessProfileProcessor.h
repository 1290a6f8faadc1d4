#pragma once

#include "IDataPostProcessor.h"

// Keeps the roughness of a profile: the band between the short-wave cut-off
// and the given cut-off (micrometres), trimmed by half the cut-off at both ends.
class FilterRoughnessProfileProcessor : public IDataPostProcessor
{
public:
    explicit FilterRoughnessProfileProcessor(double cutOff);

    void process(ProfileData& data) override;

private:
    double m_cutOff;
};
