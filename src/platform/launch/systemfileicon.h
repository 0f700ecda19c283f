#pragma once

#include <QIcon>
#include <QString>

class QAbstractFileIconProvider;

// The icon the desktop shows for a path. Linux: an application entry's own icon (its
// Icon key through the icon theme), else the theme's icon of the MIME type, else the
// file icon provider's. macOS: the provider's (bundle or document icon).
class SystemFileIcon
{
public:
    static QIcon of(const QString& path, const QAbstractFileIconProvider& provider);
};
