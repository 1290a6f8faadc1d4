#include "KalvoraLibrary.h"

#include <dlfcn.h>

KalvoraLibrary::KalvoraLibrary()
{
    handle_ = dlopen(KALVORA_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    if (!handle_) {
        error_ = QString::fromLocal8Bit(dlerror());
        return;
    }
    resolve(excludeRound, "_KalvoraDLLExcludeRound");
    resolve(filterLine, "_KalvoraDLLFilterLine");
    resolve(calculateLine, "_KalvoraDLLCalculateLine");
    resolve(computeDpTp, "_KalvoraDLLComputeDpTp");
    resolve(calculateLineW, "_KalvoraDLLCalculateLineW");
}

KalvoraLibrary::~KalvoraLibrary()
{
    if (handle_)
        dlclose(handle_);
}

bool KalvoraLibrary::isComplete() const
{
    return excludeRound && filterLine && calculateLine && computeDpTp && calculateLineW;
}

void* KalvoraLibrary::symbol(const char* name)
{
    if (!handle_)
        return nullptr;
    dlerror();
    void* address = dlsym(handle_, name);
    if (!address)
        error_ += QString::fromLocal8Bit(dlerror()) + QLatin1Char('\n');
    return address;
}

QString KalvoraLibrary::path()
{
    return QStringLiteral(KALVORA_LIBRARY);
}
