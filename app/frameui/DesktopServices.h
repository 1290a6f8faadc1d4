#pragma once

#include <QString>
#include <QUrl>

#include <functional>

// Hands files and folders to the desktop. Everything the program opens on
// the desktop goes through here, so tests can replace the opener and the
// bus of the file manager, and no browser or file manager starts.
class DesktopServices
{
public:
    using Opener = std::function<bool(const QUrl&)>;

    // Opens the file or folder at `path` with its default handler.
    static bool openPath(const QString& path);

    // Asks the desktop's file manager to show the file at `path` selected
    // (the freedesktop call FileManager1.ShowItems on the D-Bus); when no
    // file manager answers in time, opens the folder that contains it.
    static bool showInFolder(const QString& path);

    // Replaces the opener; an empty one restores the desktop's own. Returns
    // the opener that was in place.
    static Opener setOpener(Opener opener);

    // Names the D-Bus connection (QDBusConnection's name) on which the file
    // manager is asked; an empty name restores the session bus. A name with
    // no connection behind it means no file manager. Returns the name that
    // was in place.
    static QString setFileManagerBus(const QString& connectionName);
};
