#pragma once

#include "IDataPostProcessor.h"

// Replaces the heights by their running median, against single spikes.
class DataMedianFilterProcessor : public IDataPostProcessor
{
public:
    explicit DataMedianFilterProcessor(int window);

    void process(ProfileData& data) override;

private:
    int m_window;
};
