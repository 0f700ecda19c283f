#include "systemfileicon.h"

#include "pathlauncher.h"

#if defined(SYSTEMDLL_HAVE_GIO)
#include "gio/desktopentry.h"
#endif

#include <QAbstractFileIconProvider>
#include <QFileInfo>

QIcon SystemFileIcon::of(const QString& path, const QAbstractFileIconProvider& provider)
{
#if defined(SYSTEMDLL_HAVE_GIO)
    if (PathLauncher::kindOf(path) == PathLauncher::Kind::Application) {
        const std::unique_ptr<DesktopEntry> entry = DesktopEntry::load(path);
        return entry ? entry->icon() : QIcon();
    }
#endif
    return provider.icon(QFileInfo(path));
}
