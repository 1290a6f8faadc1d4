#pragma once

#include "IDataPostProcessor.h"

// Keeps the waviness of a profile: the band between the given cut-off and
// twice that cut-off (micrometres), trimmed by half the cut-off at both ends.
class FilterWaveProfileProcessor : public IDataPostProcessor
{
public:
    explicit FilterWaveProfileProcessor(double cutOff);

    void process(ProfileData& data) override;

private:
    double m_cutOff;
};
