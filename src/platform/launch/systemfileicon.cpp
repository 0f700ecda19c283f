#if defined(SYSTEMDLL_HAVE_GIO)
// GIO's headers name struct members "signals"; they come before any Qt header.
#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>
#endif

#include "systemfileicon.h"

#include "pathlauncher.h"

#include <QAbstractFileIconProvider>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QPixmap>

namespace {
#if defined(SYSTEMDLL_HAVE_GIO)
// The entry's Icon key: a theme name goes through the theme; a file goes through the
// caller's reader, never to QIcon, whose decoders would open it (and what an SVG names)
// on their own.
QIcon entryIcon(const QString& path, const SystemFileIcon::PictureReader& readPicture)
{
    GDesktopAppInfo* info = g_desktop_app_info_new_from_filename(QFile::encodeName(path).constData());
    if (!info)
        return {};
    QIcon result;
    GIcon* icon = g_app_info_get_icon(G_APP_INFO(info));
    if (icon && G_IS_THEMED_ICON(icon)) {
        for (const gchar* const* names = g_themed_icon_get_names(G_THEMED_ICON(icon)); names && *names; ++names) {
            const QString name = QString::fromUtf8(*names);
            if (QIcon::hasThemeIcon(name)) {
                result = QIcon::fromTheme(name);
                break;
            }
        }
    } else if (icon && G_IS_FILE_ICON(icon)) {
        char* file = g_file_get_path(g_file_icon_get_file(G_FILE_ICON(icon)));
        const QImage picture = file && readPicture ? readPicture(QString::fromUtf8(file)) : QImage();
        g_free(file);
        if (!picture.isNull())
            result = QIcon(QPixmap::fromImage(picture));
    }
    g_object_unref(info);
    return result;
}
#endif

#if !defined(Q_OS_MACOS)
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
#endif
}

QIcon SystemFileIcon::of(const QString& path, const QAbstractFileIconProvider& provider, const PictureReader& readPicture)
{
    const QFileInfo info(path);
#if defined(SYSTEMDLL_HAVE_GIO)
    if (PathLauncher::kindOf(path) == PathLauncher::Kind::Application)
        return entryIcon(path, readPicture);
#else
    Q_UNUSED(readPicture);
#endif
#if !defined(Q_OS_MACOS)
    // The provider knows MIME icons only under some desktops' platform themes.
    const QIcon themed = mimeTypeIcon(info);
    if (!themed.isNull())
        return themed;
#endif
    return provider.icon(info);
}
