#pragma once

#include <QString>
#include <QUrl>

#include <functional>

// Hands files and folders to the desktop's default handlers. Everything the
// program opens on the desktop goes through here, so tests can replace the
// opener and no browser or file manager starts.
class DesktopServices
{
public:
    using Opener = std::function<bool(const QUrl&)>;

    // Opens the file or folder at `path` with its default handler.
    static bool openPath(const QString& path);

    // Opens the folder that contains `path`.
    static bool showInFolder(const QString& path);

    // Replaces the opener; an empty one restores the desktop's own. Returns
    // the opener that was in place.
    static Opener setOpener(Opener opener);
};
