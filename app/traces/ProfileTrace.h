#pragma once

#include <QMap>
#include <QMutex>
#include <QString>
#include <QVector>

#include "AbstractTrace.h"

// The trace of a roughness measurement (x position, height) with what its
// profile parameters need: scan speed, filter cut-off, marked level, median
// settings, height distribution, parameter texts and linked additional traces.
class ProfileTrace : public AbstractTrace
{
public:
    ProfileTrace();
    // A trace holding the rows of two equally long columns.
    explicit ProfileTrace(const ProfileData& data);

    // Links `trace` to this main trace; it takes this trace's file path.
    void addAdditionalTrace(ProfileTrace* trace);
    // Unlinks the additional trace with that id; the trace keeps its parent.
    void removeAdditionalTrace(int id);
    void clearFilteredCache();

    // The roughness, waviness or primary profile (E_PROFILE_KIND) of the
    // trace's raw points. `cutOff` chooses the short-wave cut-off and the
    // cache entry; the long cut-off is always the trace's own filterCutOff.
    // Filtered profiles stay cached per cut-off until clearFilteredCache().
    // Several threads may ask for filtered profiles of one trace at once.
    static ProfileData filteredProfile(ProfileTrace* trace, double cutOff, int kind);

    QMap<QString, QString> parameterResults;
    QVector<ProfileTrace*> additionalTraces;
    ProfileTrace* parentTrace = nullptr;
    double speed = 0;
    double filterCutOff;
    double level = 0;
    int medianWindow = 3;
    bool medianEnabled = false;
    ProfileData heightDistribution;

protected:
    void processDisplay(ProfileData& display, SpareColumns& spares) const override;

private:
    ProfileData filteredRaw(double secondCutOff) const;

    mutable QMutex m_cacheMutex;
    QMap<double, ProfileData> m_roughnessCache;
    QMap<double, ProfileData> m_wavinessCache;
};
