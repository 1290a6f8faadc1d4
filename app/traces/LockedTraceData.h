#pragma once

#include <QMutexLocker>

#include <memory>

#include "ProfileData.h"

// One store of a trace together with its lock: the trace's mutex stays
// locked, and the store unchanged, for as long as any copy of `locker` lives.
struct LockedTraceData
{
    const ProfileData* data = nullptr;
    std::shared_ptr<QMutexLocker> locker;
};
