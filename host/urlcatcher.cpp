#include "urlcatcher.h"

#include <QDesktopServices>
#include <QProcess>

namespace {
// The empty scheme catches addresses without one; QDesktopServices keys handlers by scheme.
const char* const kSchemes[] = {"", "http", "https", "ftp", "file", "mailto", "tel", "sms", "ssh",
                                "smb", "news", "irc", "magnet", "steam", "spotify", "zoommtg", "slack"};
}

UrlCatcher::UrlCatcher(bool launch, QObject* parent)
    : QObject(parent)
    , m_launch(launch)
{
    for (const char* scheme : kSchemes)
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "open");
}

UrlCatcher::~UrlCatcher()
{
    for (const char* scheme : kSchemes)
        QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
}

void UrlCatcher::open(const QUrl& url)
{
    emit opened(url.toString());
    if (m_launch)
        QProcess::startDetached(QStringLiteral("xdg-open"), {url.toString()});
}
