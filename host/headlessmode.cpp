// The windowless modes of vanta-host: scripts and profile rendering.
#include "hostsession.h"
#include "outputwriter.h"
#include "scriptrunner.h"
#include "urlcatcher.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

#include <cstdio>

namespace {

void reportProblems(const QStringList& problems)
{
    for (const QString& problem : problems) {
        std::fprintf(stderr, "vanta-host: %s\n", qPrintable(problem));
        OutputWriter::line({{"kind", "error"}, {"step", -1}, {"message", problem}});
    }
}

QJsonValue parsedFrame(const QString& frame)
{
    const QJsonDocument document = QJsonDocument::fromJson(frame.toUtf8());
    if (document.isObject())
        return document.object();
    if (document.isArray())
        return document.array();
    return frame;
}

} // namespace

int runHeadless(HostSession& session, const QString& scriptPath, bool launch)
{
    QFile file(scriptPath);
    QJsonParseError parseError{};
    QJsonDocument script;
    if (scriptPath.isEmpty() || !file.open(QIODevice::ReadOnly)
        || !(script = QJsonDocument::fromJson(file.readAll(), &parseError)).isArray()) {
        reportProblems({QStringLiteral("--script must name a readable JSON array of steps (%1)")
                            .arg(scriptPath.isEmpty() ? QStringLiteral("none given") : parseError.errorString())});
        return 2;
    }
    UrlCatcher urls(launch);
    QObject::connect(&urls, &UrlCatcher::opened, [](const QString& url) {
        OutputWriter::line({{"kind", "open"}, {"url", url}});
    });
    QObject::connect(&session.server(), &HostServer::frameReceived, [](const QString& frame) {
        OutputWriter::line({{"kind", "ws"}, {"frame", parsedFrame(frame)}});
    });
    QStringList problems;
    session.restoreProfile(&problems);
    reportProblems(problems);
    QObject::connect(&session.deck(), &Deck::settingsReported,
                     [](int slot, const QString& target, const QJsonObject& payload) {
                         OutputWriter::line({{"kind", "settings"}, {"slot", slot}, {"target", target}, {"payload", payload}});
                     });
    ScriptRunner runner(session.deck(), session.profile());
    return runner.run(script.array()) ? 0 : 1;
}

int runRenderProfile(HostSession& session, const QString& out)
{
    QStringList problems;
    session.restoreProfile(&problems);
    reportProblems(problems);
    const QImage deck = session.deck().render();
    if (out.isEmpty() || !deck.save(out, "PNG")) {
        reportProblems({QStringLiteral("cannot write the deck to \"%1\" (--out)").arg(out)});
        return 1;
    }
    OutputWriter::line({{"kind", "render"}, {"path", out}, {"width", deck.width()}, {"height", deck.height()}});
    return 0;
}
