#include "recordingpathlauncher.h"

#include "platform/launch/launchlog.h"
#include "platform/recordchannel.h"

#include <QJsonDocument>
#include <QJsonObject>

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

// Also goes to the record channel as one "open" record, so that the process that loaded
// the library can see what would have been opened.
void RecordingPathLauncher::record(Kind kind, const QString& path)
{
    const QJsonObject json{{"kind", kindName(kind)}, {"path", path}};
    qCDebug(lcLaunchRecord).noquote() << QJsonDocument(json).toJson(QJsonDocument::Compact);
    RecordChannel::instance().write({{"kind", "open"}, {"what", kindName(kind)}, {"path", path}});
    m_opened << Opened(kind, path);
}
