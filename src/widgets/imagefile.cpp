#include "imagefile.h"

#include <QFileInfo>

QString ImageFile::refusal(const QString& path)
{
    if (path.isEmpty())
        return QStringLiteral("no file named");
    const QFileInfo info(path);  // follows symbolic links
    if (!info.exists())
        return QStringLiteral("no such file");
    if (!info.isFile())
        return QStringLiteral("not a regular file");
    if (info.size() > kMaxBytes)
        return QStringLiteral("larger than %1 bytes").arg(kMaxBytes);
    return {};
}
