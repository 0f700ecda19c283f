// GIO's headers name struct members "signals"; they come before any Qt header.
#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

#include "desktopentry.h"

#include "platform/launch/launchlog.h"

#include <QFileInfo>

namespace {
QString fromUtf8(const char* text)
{
    return text ? QString::fromUtf8(text) : QString();
}

QIcon themedIcon(GThemedIcon* themed)
{
    const gchar* const* names = g_themed_icon_get_names(themed);
    for (; names && *names; ++names) {
        const QString name = QString::fromUtf8(*names);
        if (QIcon::hasThemeIcon(name))
            return QIcon::fromTheme(name);
    }
    return {};
}

QIcon fileIcon(GFileIcon* icon)
{
    char* path = g_file_get_path(g_file_icon_get_file(icon));
    const QString file = fromUtf8(path);
    g_free(path);
    return QFileInfo(file).isFile() ? QIcon(file) : QIcon();
}
}

std::unique_ptr<DesktopEntry> DesktopEntry::load(const QString& path)
{
    GDesktopAppInfo* info = g_desktop_app_info_new_from_filename(QFile::encodeName(path).constData());
    if (!info)
        return nullptr;
    return std::unique_ptr<DesktopEntry>(new DesktopEntry(info));
}

DesktopEntry::DesktopEntry(GDesktopAppInfo* info)
    : m_info(info)
{
}

DesktopEntry::~DesktopEntry()
{
    g_object_unref(m_info);
}

QString DesktopEntry::name() const
{
    return fromUtf8(g_app_info_get_display_name(G_APP_INFO(m_info)));
}

bool DesktopEntry::isHidden() const
{
    return g_desktop_app_info_get_is_hidden(m_info);
}

QIcon DesktopEntry::icon() const
{
    GIcon* icon = g_app_info_get_icon(G_APP_INFO(m_info));
    if (icon && G_IS_THEMED_ICON(icon))
        return themedIcon(G_THEMED_ICON(icon));
    if (icon && G_IS_FILE_ICON(icon))
        return fileIcon(G_FILE_ICON(icon));
    return {};
}

bool DesktopEntry::launch(QString* error) const
{
    GError* failure = nullptr;
    const bool launched = g_app_info_launch(G_APP_INFO(m_info), nullptr, nullptr, &failure);
    if (failure) {
        if (error)
            *error = fromUtf8(failure->message);
        g_error_free(failure);
    }
    return launched;
}
