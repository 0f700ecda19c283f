#include "headlessmode.h"

#include "hostsession.h"
#include "outputwriter.h"
#include "pagefollower.h"
#include "profilestore.h"
#include "quitsignals.h"
#include "scriptrunner.h"
#include "urlcatcher.h"

#include <QFileInfo>
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

int runHeadless(HostSession& session, const QString& scriptPath, bool launch, RecordChannelReader* records, bool followFocus,
                QuitSignals* quit)
{
    QString why;
    QJsonArray steps;
    if (scriptPath.isEmpty()) {
        why = QStringLiteral("--headless needs --script FILE, a JSON array of steps");
    } else {
        const QByteArray bytes = ProfileStore::readRegularFile(scriptPath, ScriptRunner::kMaxScriptBytes, &why);
        if (why.isEmpty() && !ScriptRunner::parse(bytes, &steps, &why))
            why = QStringLiteral("script %1 is %2").arg(scriptPath, why);
        else if (!why.isEmpty())
            why = QStringLiteral("cannot read script %1: %2").arg(scriptPath, why);
    }
    if (!why.isEmpty()) {
        reportProblems({why});
        return 1;
    }
    UrlCatcher urls(launch);
    QObject::connect(&urls, &UrlCatcher::opened, [](const QString& url) {
        OutputWriter::line({{"kind", "open"}, {"url", url}});
    });
    QObject::connect(&urls, &UrlCatcher::failed, [](const QString& url, const QString& why) {
        OutputWriter::line({{"kind", "open-failed"}, {"url", url}, {"why", why}});
    });
    QObject::connect(&session.server(), &HostServer::frameReceived, [](const QString& frame) {
        OutputWriter::line({{"kind", "ws"}, {"frame", parsedFrame(frame)}});
    });
    QObject::connect(&session, &HostSession::problemFound, [](const QString& problem) { reportProblems({problem}); });
    QStringList problems;
    session.restoreProfile(&problems);
    reportProblems(problems);
    QObject::connect(&session.deck(), &Deck::settingsReported,
                     [](int slot, const QString& target, const QJsonObject& payload) {
                         OutputWriter::line({{"kind", "settings"}, {"slot", slot}, {"target", target}, {"payload", payload}});
                     });
    // Each switch of page for the focused application, while the script's waits run.
    std::unique_ptr<PageFollower> follower;
    if (followFocus) {
        follower = std::make_unique<PageFollower>(session);
        QObject::connect(follower.get(), &PageFollower::followed, [](int page, const FocusedWindow& window) {
            OutputWriter::line({{"kind", "page"}, {"page", page}, {"app", window.name()}, {"title", window.title}});
        });
    }
    ScriptRunner runner(session, records);
    if (quit) {
        QObject::connect(quit, &QuitSignals::received, [&runner](int signal) {
            runner.stop(QStringLiteral("stopped by %1").arg(QuitSignals::nameOf(signal)));
        });
    }
    const bool passed = runner.run(steps);
    QString problem;
    const bool stored = session.flushProfile(&problem);
    if (!stored)
        reportProblems({problem});
    // A profile set aside, unreadable, newer or open elsewhere could not be used as it was.
    return passed && stored && !session.profile().troubled() ? 0 : 1;
}

// Reads the profile only: a missing or damaged one is an error, never renamed.
int runRenderProfile(HostSession& session, const QString& out)
{
    const QString path = session.profile().path();
    if (!QFileInfo::exists(path)) {
        reportProblems({QStringLiteral("profile %1 does not exist").arg(path)});
        return 1;
    }
    QStringList problems;
    session.restoreProfile(&problems);
    reportProblems(problems);
    if (session.profile().failed())
        return 1;
    const QImage deck = session.deck().render();
    if (!deck.save(out, "PNG", Deck::kPictureQuality)) {
        reportProblems({QStringLiteral("cannot write the deck to %1 (--out)").arg(out)});
        return 1;
    }
    OutputWriter::line({{"kind", "render"}, {"path", out}, {"width", deck.width()}, {"height", deck.height()}});
    return 0;
}
