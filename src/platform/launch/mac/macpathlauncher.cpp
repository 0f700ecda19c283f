#include "macpathlauncher.h"

#include <QDesktopServices>
#include <QUrl>

QString MacPathLauncher::name() const
{
    return QStringLiteral("mac");
}

void MacPathLauncher::launchApplication(const QString& path)
{
    openDocument(path);
}

void MacPathLauncher::openDocument(const QString& path)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
