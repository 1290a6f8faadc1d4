#pragma once

#include "AbstractTrace.h"

// A trace of a given number of columns with no processing of its own: the
// display store is what the post-processors make of the processed one.
class PlainTrace : public AbstractTrace
{
public:
    explicit PlainTrace(int dimension = 2) : AbstractTrace(dimension) {}

protected:
    void processDisplay(ProfileData&, SpareColumns&) const override {}
};
