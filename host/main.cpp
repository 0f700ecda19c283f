// vanta-host: a reference host for the package library. Loads it as any host does,
// shows a virtual deck, keeps a profile, and runs scripts headless.
#include "hostsession.h"
#include "keyeventlog.h"
#include "mainwindow.h"
#include "outputwriter.h"
#include "urlcatcher.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QStandardPaths>

#include <cstdio>
#include <cstring>

namespace {

constexpr int kExitFailedStep = 1;
constexpr int kExitCannotStart = 2;
const char* const kOpenUrlCategory = "com.corvane.system.openurl";

bool hasArgument(int argc, char** argv, const char* name)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], name) == 0)
            return true;
    }
    return false;
}

void complain(const QString& message, bool asLine)
{
    std::fprintf(stderr, "vanta-host: %s\n", qPrintable(message));
    if (asLine)
        OutputWriter::line({{"kind", "error"}, {"step", -1}, {"message", message}});
}

QJsonObject describe(HostSession& session, int sdkLevel)
{
    QJsonObject mapping;
    for (auto it = session.titles().cbegin(); it != session.titles().cend(); ++it)
        mapping[it.key()] = it.value();
    return {{"sdk", sdkLevel}, {"versionCode", session.versionCode()}, {"versionName", session.versionName()},
            {"list", session.packageList()}, {"mapping", mapping}};
}

bool parseGrid(const QString& text, int* columns, int* rows)
{
    const QRegularExpressionMatch match = QRegularExpression(QStringLiteral("^(\\d{1,2})x(\\d{1,2})$")).match(text);
    if (!match.hasMatch())
        return false;
    *columns = match.captured(1).toInt();
    *rows = match.captured(2).toInt();
    return *columns > 0 && *rows > 0;
}

} // namespace

int runHeadless(HostSession& session, const QString& scriptPath, bool launch);
int runRenderProfile(HostSession& session, const QString& out);

int main(int argc, char** argv)
{
    const bool windowless = hasArgument(argc, argv, "--headless") || hasArgument(argc, argv, "--list")
                         || hasArgument(argc, argv, "--render-profile");
    if (windowless && qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vanta-host"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Reference host for the System package library."));
    parser.addHelpOption();
    const QString configDefault = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    const QCommandLineOption library("library", "Package library to load.", "PATH",
                                     QDir(QCoreApplication::applicationDirPath()).filePath("libSystemDll.so"));
    const QCommandLineOption configDir("config-dir", "Configuration directory.", "DIR", configDefault);
    const QCommandLineOption profile("profile", "Profile file (default: profile.json in the config dir).", "FILE");
    const QCommandLineOption lang("lang", "Language.", "LANG", "en_US");
    const QCommandLineOption grid("grid", "Deck size of a new profile.", "COLSxROWS", "5x3");
    const QCommandLineOption list("list", "Print what the host reads from the package and exit.");
    const QCommandLineOption headless("headless", "Run a script without a window.");
    const QCommandLineOption script("script", "Script of steps (JSON array).", "SCRIPT");
    const QCommandLineOption noLaunch("no-launch", "Open no URL, only report it.");
    const QCommandLineOption keys("keys", "Keyboard backend of the package (record, x11).", "BACKEND");
    const QCommandLineOption renderProfile("render-profile", "Render a stored profile's deck and exit.", "FILE");
    const QCommandLineOption out("out", "PNG file for --render-profile.", "PNG");
    parser.addOptions({library, configDir, profile, lang, grid, list, headless, script, noLaunch, keys,
                       renderProfile, out});
    parser.process(app);

    const bool lines = parser.isSet(headless) || parser.isSet(renderProfile);
    if (parser.isSet(keys))
        qputenv("SYSTEMDLL_KEYBOARD_BACKEND", parser.value(keys).toLatin1());
    if (lines)
        KeyEventLog::install();

    HostSession::Options options;
    options.library = parser.value(library);
    options.configDir = parser.value(configDir);
    options.lang = parser.value(lang);
    options.profilePath = parser.isSet(renderProfile) ? parser.value(renderProfile)
                        : parser.isSet(profile)       ? parser.value(profile)
                                                      : QDir(options.configDir).filePath("profile.json");
    if (!parseGrid(parser.value(grid), &options.columns, &options.rows)) {
        complain(QStringLiteral("--grid takes COLSxROWS, for example 5x3"), lines);
        return kExitCannotStart;
    }
    QDir().mkpath(options.configDir);

    HostSession session(options);
    QString error;
    if (!session.start(&error)) {
        complain(error, lines);
        return kExitCannotStart;
    }
    if (parser.isSet(list)) {
        OutputWriter::line(describe(session, PackageLoader::kSupportedSdk));
        return 0;
    }
    if (parser.isSet(renderProfile))
        return runRenderProfile(session, parser.value(out));
    if (parser.isSet(headless))
        return runHeadless(session, parser.value(script), !parser.isSet(noLaunch));

    const bool firstRun = !QFile::exists(options.profilePath);
    QStringList problems;
    session.restoreProfile(&problems);
    for (const QString& problem : std::as_const(problems))
        complain(problem, false);
    if (firstRun)
        session.deck().assign(0, QString::fromLatin1(kOpenUrlCategory), {}, &error);
    UrlCatcher urls(true);
    MainWindow window(session);
    window.show();
    return app.exec();
}
