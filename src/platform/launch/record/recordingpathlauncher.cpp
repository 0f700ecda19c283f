#include "recordingpathlauncher.h"

#include "platform/launch/launchlog.h"
#include "platform/recordchannel.h"

#include <QDesktopServices>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>

QString RecordingPathLauncher::name() const
{
    return QStringLiteral("record");
}

void RecordingPathLauncher::launchApplication(const QString& path)
{
    record(Kind::Application, path);
}

void RecordingPathLauncher::openDocument(const QString& path)
{
    record(Kind::Document, path);
}

void RecordingPathLauncher::runExecutable(const QString& path)
{
    record(Kind::Executable, path);
}

void RecordingPathLauncher::openUrl(const QUrl& url)
{
    const QString scheme = url.scheme().toLower();
    if (scheme.isEmpty() || scheme == QLatin1String("http") || scheme == QLatin1String("https")) {
        QDesktopServices::openUrl(url);
        return;
    }
    record(Kind::Url, url.toString());
}

// Also goes to the record channel as one "open" record, so that the process that loaded
// the library can see what would have been opened.
void RecordingPathLauncher::record(Kind kind, const QString& path)
{
    const QJsonObject json{{"kind", kindName(kind)}, {"path", path}};
    qCDebug(lcLaunchRecord).noquote() << QJsonDocument(json).toJson(QJsonDocument::Compact);
    RecordChannel::instance().write({{"kind", "open"}, {"what", kindName(kind)}, {"path", path}});
    m_opened << Opened(kind, path);
}
