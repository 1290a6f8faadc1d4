#include "DesktopServices.h"

#include <QDesktopServices>
#include <QFileInfo>

namespace {

DesktopServices::Opener& currentOpener()
{
    static DesktopServices::Opener opener;
    return opener;
}

bool open(const QUrl& url)
{
    const DesktopServices::Opener& opener = currentOpener();
    return opener ? opener(url) : QDesktopServices::openUrl(url);
}

} // namespace

bool DesktopServices::openPath(const QString& path)
{
    return open(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

bool DesktopServices::showInFolder(const QString& path)
{
    return open(QUrl::fromLocalFile(QFileInfo(path).absolutePath()));
}

DesktopServices::Opener DesktopServices::setOpener(Opener opener)
{
    Opener previous = std::move(currentOpener());
    currentOpener() = std::move(opener);
    return previous;
}
