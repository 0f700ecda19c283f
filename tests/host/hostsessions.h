#pragma once

#include "hostsession.h"
#include "testfiles.h"

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
