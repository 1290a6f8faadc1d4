#pragma once

// The processing options of the profile workspace's tool bar, which decide
// the processing chain of its traces.
struct ProcessingOptions
{
    enum ProfileFilter { PrimaryProfile = 0, RoughnessProfile = 1, WavinessProfile = 2 };

    bool median = false;
    int medianWindow = 3;
    bool threadAngle = false;
    double threadAngleDegrees = 0;
    int profileFilter = PrimaryProfile;
};
