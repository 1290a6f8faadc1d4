#pragma once

#include "IDataPostProcessor.h"

// Projects a thread flank traced at an angle (degrees) onto the axis: every
// x is multiplied by the cosine of the angle.
class ThreadAngleCompensationProcessor : public IDataPostProcessor
{
public:
    explicit ThreadAngleCompensationProcessor(double angle);

    void process(ProfileData& data) override;
    double mapX(double x) const override;

private:
    double m_angle;
};
