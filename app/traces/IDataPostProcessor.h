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

    const QString name;
};
