#pragma once

#include <QList>
#include <QPixmap>
#include <QSize>
#include <QString>

class QIcon;
class QImage;

// The folder of pictures made from files' system icons, and the rules for its files:
// which icon size becomes the picture, how a picture is named (never replacing one),
// and which paths may be deleted (only files directly inside the folder).
class FileIconPicture
{
public:
    // The "Picture" folder of the application's writable data folder.
    static QString folder();

    // The index of the narrowest size wider than a key, else of the widest; -1 for none.
    static int chooseSize(const QList<QSize>& sizes);
    // The icon rendered at its chosen size; null when it offers no sizes.
    static QPixmap render(const QIcon& icon);

    // What a picture of `path` is named after: the file name without its last suffix,
    // else the bundle name, else the last folder name without ".app".
    static QString baseName(const QString& path);
    // Saves `image` as JPEG under base + ".jpg", or base + counter + ".jpg" when that is
    // taken; returns the new file's path, or empty (logged) when it cannot be written.
    static QString saveNew(const QImage& image, const QString& base);

    // True for a regular file (not a link) whose folder part is exactly the picture folder.
    static bool isRemovable(const QString& path);
};
