#pragma once

#include "IDataPostProcessor.h"

// Shifts the positions so that the trace starts at x = 0.
class XZeronator : public IDataPostProcessor
{
public:
    XZeronator();

    void process(ProfileData& data) override;
    // Shifted as by the last process().
    double mapX(double x) const override;

private:
    double m_shift = 0;
};
