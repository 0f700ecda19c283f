#pragma once

#include "systemdll_export.h"

#include <QPixmap>
#include <QString>

class QFileSystemModel;

// Turns the system icon of a file, folder or application into a picture and manages
// the folder of those pictures. Exported, so that a host can use them too (for files
// dropped onto a key).
class TovDragDropStatic
{
public:
    // Saves the system icon of `path` as a new JPEG in the picture folder and returns
    // its path; empty when the system has no icon for it.
    SYSTEMDLL_EXPORT static QString saveFilenameIcon(const QString& path);
    // Fills `pixmap` with the system icon of `path` through the caller's model (whose
    // root path moves to the folder of `path`); unchanged when there is no icon.
    SYSTEMDLL_EXPORT static void getShortcutPixmap(const QString& path, QPixmap& pixmap, QFileSystemModel* model);
    // Deletes `path` only if it is a file directly in the picture folder.
    SYSTEMDLL_EXPORT static void removePictureFile(QString path);
};
