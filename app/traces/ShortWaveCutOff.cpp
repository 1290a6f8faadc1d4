#include "ShortWaveCutOff.h"

double shortWaveCutOff(double cutOff)
{
    if (cutOff == 80)
        return 8.0 / 3.0;
    if (cutOff == 250)
        return 2.5;
    return cutOff / 300;
}

double wavinessSecondCutOff(double cutOff)
{
    const double shortWave = shortWaveCutOff(cutOff);
    return (cutOff + cutOff - shortWave) + shortWave;
}
