#pragma once

#include <QIcon>
#include <QString>

class QAbstractFileIconProvider;

// The icon the desktop shows for a path: an application entry's own icon on Linux
// (Icon key through the icon theme), otherwise the file icon provider's (the MIME
// type's icon on Linux, the bundle or document icon on macOS).
class SystemFileIcon
{
public:
    static QIcon of(const QString& path, const QAbstractFileIconProvider& provider);
};
