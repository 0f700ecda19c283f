#include "systemfileicon.h"

#include "pathlauncher.h"

#if defined(SYSTEMDLL_HAVE_GIO)
#include "gio/desktopentry.h"
#endif

#include <QAbstractFileIconProvider>
#include <QFileInfo>
#include <QMimeDatabase>

#if !defined(Q_OS_MACOS)
namespace {
// The theme's icon of the MIME type, or of its generic type; null when it has neither.
QIcon mimeTypeIcon(const QFileInfo& info)
{
    const QMimeType type = QMimeDatabase().mimeTypeForFile(info);
    for (const QString& name : {type.iconName(), type.genericIconName()}) {
        if (QIcon::hasThemeIcon(name))
            return QIcon::fromTheme(name);
    }
    return {};
}
}
#endif

QIcon SystemFileIcon::of(const QString& path, const QAbstractFileIconProvider& provider)
{
    const QFileInfo info(path);
#if defined(SYSTEMDLL_HAVE_GIO)
    if (PathLauncher::kindOf(path) == PathLauncher::Kind::Application) {
        const std::unique_ptr<DesktopEntry> entry = DesktopEntry::load(path);
        return entry ? entry->icon() : QIcon();
    }
#endif
#if !defined(Q_OS_MACOS)
    // The provider knows MIME icons only under some desktops' platform themes.
    const QIcon themed = mimeTypeIcon(info);
    if (!themed.isNull())
        return themed;
#endif
    return provider.icon(info);
}
