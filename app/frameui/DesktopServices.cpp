#include "DesktopServices.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDesktopServices>
#include <QFileInfo>
#include <QStringList>

#include <utility>

namespace {

// Long enough for a file manager that the bus starts on demand.
constexpr int kFileManagerTimeoutMs = 3000;

DesktopServices::Opener& currentOpener()
{
    static DesktopServices::Opener opener;
    return opener;
}

QString& fileManagerBusName()
{
    static QString name;
    return name;
}

bool open(const QUrl& url)
{
    const DesktopServices::Opener& opener = currentOpener();
    return opener ? opener(url) : QDesktopServices::openUrl(url);
}

QDBusConnection fileManagerBus()
{
    const QString& name = fileManagerBusName();
    return name.isEmpty() ? QDBusConnection::sessionBus() : QDBusConnection(name);
}

// True when a file manager took the request.
bool askFileManagerToShow(const QString& absoluteFilePath)
{
    QDBusConnection bus = fileManagerBus();
    if (!bus.isConnected())
        return false;
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    call << QStringList{QUrl::fromLocalFile(absoluteFilePath).toString(QUrl::FullyEncoded)} << QString();
    return bus.call(call, QDBus::Block, kFileManagerTimeoutMs).type() == QDBusMessage::ReplyMessage;
}

} // namespace

bool DesktopServices::openPath(const QString& path)
{
    return open(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

bool DesktopServices::showInFolder(const QString& path)
{
    const QFileInfo file(path);
    return askFileManagerToShow(file.absoluteFilePath()) || open(QUrl::fromLocalFile(file.absolutePath()));
}

DesktopServices::Opener DesktopServices::setOpener(Opener opener)
{
    Opener previous = std::move(currentOpener());
    currentOpener() = std::move(opener);
    return previous;
}

QString DesktopServices::setFileManagerBus(const QString& connectionName)
{
    return std::exchange(fileManagerBusName(), connectionName);
}
