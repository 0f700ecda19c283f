#pragma once

#include "hostsession.h"
#include "testfiles.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QtGlobal>
#include <memory>

// A host session on the built library (SYSTEMDLL_LIBRARY), as the host starts one: the
// profile in `dir` (written first when `profile` is given) restored, its problems in `problems`.
inline std::unique_ptr<HostSession> startedSession(const QString& dir, QStringList* problems,
                                                   const QByteArray& profile = {})
{
    HostSession::Options options;
    options.library = QStringLiteral(SYSTEMDLL_LIBRARY);
    options.configDir = dir;
    options.profilePath = dir + QStringLiteral("/profile.json");
    if (!profile.isNull())
        TestFiles::write(options.profilePath, profile);
    auto session = std::make_unique<HostSession>(options);
    QString error;
    if (!session->start(&error))
        qFatal("%s", qPrintable(error));
    session->restoreProfile(problems);
    return session;
}

// A stored profile of one page holding `keys`, in the form of the first version.
inline QByteArray profileBytes(const QJsonArray& keys, int columns = 5, int rows = 3)
{
    return QJsonDocument(QJsonObject{{"grid", QJsonObject{{"columns", columns}, {"rows", rows}}}, {"keys", keys}}).toJson();
}

// The keys of the first page as the session wrote them to `dir`/profile.json, its pending
// changes written first (they are written after a pause).
inline QJsonArray storedKeys(HostSession& session, const QString& dir)
{
    QString problem;
    if (!session.flushProfile(&problem))
        qWarning("%s", qPrintable(problem));
    return QJsonDocument::fromJson(TestFiles::read(dir + QStringLiteral("/profile.json")))["pages"][0]["keys"].toArray();
}

// What `program` prints on its standard output, trimmed, once it has ended.
inline QString outputOf(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(20000);
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}
