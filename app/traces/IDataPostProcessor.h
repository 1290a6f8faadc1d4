#pragma once

#include <QString>

#include "ProfileData.h"

// One step of a trace's processing chain, applied to the whole display store.
class IDataPostProcessor
{
public:
    explicit IDataPostProcessor(QString name) : name(std::move(name)) {}
    virtual ~IDataPostProcessor() = default;

    virtual void process(ProfileData& data) { Q_UNUSED(data) }
    // Where this step puts a point of position x. Steps that filter or trim
    // keep the positions of the points they keep.
    virtual double mapX(double x) const { return x; }

    const QString name;
};
