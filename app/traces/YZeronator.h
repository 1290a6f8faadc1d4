#pragma once

#include "IDataPostProcessor.h"

// Shifts the heights so that the lowest point is at 0.
class YZeronator : public IDataPostProcessor
{
public:
    YZeronator();

    void process(ProfileData& data) override;
};
