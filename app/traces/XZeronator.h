#pragma once

#include "IDataPostProcessor.h"

// Shifts the positions so that the trace starts at x = 0.
class XZeronator : public IDataPostProcessor
{
public:
    XZeronator();

    void process(ProfileData& data) override;
};
