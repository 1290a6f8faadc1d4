#pragma once

#include <QString>

#include "Kalvora.h"

// The built library, opened with dlopen and its five functions looked up by
// their plain names. A missing library or symbol leaves the pointer null and
// says why in error().
class KalvoraLibrary
{
public:
    KalvoraLibrary();
    ~KalvoraLibrary();
    KalvoraLibrary(const KalvoraLibrary&) = delete;
    KalvoraLibrary& operator=(const KalvoraLibrary&) = delete;

    bool isComplete() const;
    QString error() const { return error_; }
    void* symbol(const char* name);

    static QString path();

    decltype(&_KalvoraDLLExcludeRound) excludeRound = nullptr;
    decltype(&_KalvoraDLLFilterLine) filterLine = nullptr;
    decltype(&_KalvoraDLLCalculateLine) calculateLine = nullptr;
    decltype(&_KalvoraDLLComputeDpTp) computeDpTp = nullptr;
    decltype(&_KalvoraDLLCalculateLineW) calculateLineW = nullptr;

private:
    template<typename Function>
    void resolve(Function& function, const char* name)
    {
        function = reinterpret_cast<Function>(symbol(name));
    }

    void* handle_ = nullptr;
    QString error_;
};
