#pragma once

#include <QIcon>
#include <QImage>
#include <QString>


class QAbstractFileIconProvider;

// The icon the desktop shows for a path. Linux: an application entry's own icon (its
// Icon key through the icon theme, or the picture file it names), else the theme's icon
// of the MIME type, else the file icon provider's. macOS: the provider's (bundle or
// document icon).
class SystemFileIcon
{
public:
    // Decodes a picture file that an entry names; the caller's checked reader, so that
    // a file named there is read by the same rules as any picture (a null image: none).
    // A plain function: a std::function would put its type's RTTI among the exports.
    using PictureReader = QImage (*)(const QString& path);

    static QIcon of(const QString& path, const QAbstractFileIconProvider& provider, const PictureReader& readPicture);
};
