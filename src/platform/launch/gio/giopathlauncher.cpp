#include "giopathlauncher.h"

#include "desktopentry.h"
#include "platform/launch/launchlog.h"

#include <QDesktopServices>
#include <QUrl>

QString GioPathLauncher::name() const
{
    return QStringLiteral("gio");
}

void GioPathLauncher::launchApplication(const QString& path)
{
    const std::unique_ptr<DesktopEntry> entry = DesktopEntry::load(path);
    if (!entry) {
        qCWarning(lcLaunch) << "[GioPathLauncher] not a launchable desktop entry:" << path;
        return;
    }
    if (entry->isHidden()) {
        qCWarning(lcLaunch) << "[GioPathLauncher] the desktop entry is hidden (deleted); not launched:" << path;
        return;
    }
    QString error;
    if (!entry->launch(&error))
        qCWarning(lcLaunch) << "[GioPathLauncher] cannot launch" << path << error;
}

void GioPathLauncher::openDocument(const QString& path)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
