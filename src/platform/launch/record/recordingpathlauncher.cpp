#include "recordingpathlauncher.h"

#include "platform/launch/launchlog.h"

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

// Also logged as one compact JSON object, so that a process that loads the library
// (a host, a test) can see what would have been opened.
void RecordingPathLauncher::record(Kind kind, const QString& path)
{
    const QJsonObject json{{"kind", kindName(kind)}, {"path", path}};
    qCInfo(lcLaunchRecord).noquote() << QJsonDocument(json).toJson(QJsonDocument::Compact);
    m_opened << Opened(kind, path);
}
