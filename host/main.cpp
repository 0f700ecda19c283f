// vanta-host: a reference host for the package library. Loads it as any host does,
// shows a virtual deck, keeps a profile, and runs scripts headless.
#include "headlessmode.h"
#include "hostsession.h"
#include "keyeventlog.h"
#include "mainwindow.h"
#include "outputwriter.h"
#include "packageloader.h"
#include "urlcatcher.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QStandardPaths>

#include <cstdio>
#include <cstring>

namespace {

constexpr int kExitFailed = 1;
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

namespace {

struct CommandLine
{
    HostSession::Options options;
    bool list = false;
    bool headless = false;
    bool launch = true;
    bool renderProfile = false;
    bool gridValid = true;
    QString script;
    QString out;
    QString keys;
};

CommandLine parseCommandLine(const QApplication& app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Reference host for the System package library."));
    parser.addHelpOption();
    const QString configDefault = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    const QCommandLineOption library(
        "library", "Package library to load (default: libSystemDll.so beside the host, else the installed one).", "PATH");
    const QCommandLineOption configDir("config-dir", "Configuration directory.", "DIR", configDefault);
    const QCommandLineOption profile("profile", "Profile file (default: profile.json in the config dir).", "FILE");
    const QCommandLineOption lang("lang", "Language.", "LANG", "en_US");
    const QCommandLineOption grid("grid", "Deck size of a new profile.", "COLSxROWS", "5x3");
    const QCommandLineOption list("list", "Print what the host reads from the package and exit.");
    const QCommandLineOption headless("headless", "Run a script without a window.");
    const QCommandLineOption script("script", "Script of steps (JSON array).", "SCRIPT");
    const QCommandLineOption noLaunch("no-launch", "Open no URL, file or application, only report it.");
    const QCommandLineOption keys("keys", "Keyboard backend of the package (record, x11).", "BACKEND");
    const QCommandLineOption renderProfile("render-profile", "Render a stored profile's deck and exit.", "FILE");
    const QCommandLineOption out("out", "PNG file for --render-profile.", "PNG");
    parser.addOptions({library, configDir, profile, lang, grid, list, headless, script, noLaunch, keys,
                       renderProfile, out});
    parser.process(app);

    CommandLine line;
    line.options.library = parser.isSet(library) ? parser.value(library)
                                                 : PackageLoader::findLibrary(QCoreApplication::applicationDirPath());
    line.options.configDir = parser.value(configDir);
    line.options.lang = parser.value(lang);
    line.options.readOnlyProfile = parser.isSet(renderProfile);
    line.options.profilePath = parser.isSet(renderProfile) ? parser.value(renderProfile)
                             : parser.isSet(profile)       ? parser.value(profile)
                                                           : QDir(line.options.configDir).filePath("profile.json");
    line.gridValid = parseGrid(parser.value(grid), &line.options.columns, &line.options.rows);
    line.list = parser.isSet(list);
    line.headless = parser.isSet(headless);
    line.launch = !parser.isSet(noLaunch);
    line.renderProfile = parser.isSet(renderProfile);
    line.script = parser.value(script);
    line.out = parser.value(out);
    line.keys = parser.value(keys);
    return line;
}

// The deck window on the profile; a first run starts with one Open URL key.
int runWindow(QApplication& app, HostSession& session, const CommandLine& line)
{
    const bool firstRun = !QFileInfo(line.options.profilePath).exists();
    QStringList problems;
    session.restoreProfile(&problems);
    for (const QString& problem : std::as_const(problems))
        complain(problem, false);
    QString error;
    if (firstRun)
        session.deck().assign(0, QString::fromLatin1(kOpenUrlCategory), {}, &error);
    UrlCatcher urls(line.launch);
    MainWindow window(session);
    window.showProblems(problems);
    window.watchUrls(urls, line.launch);
    window.show();
    return app.exec();
}

} // namespace

int main(int argc, char** argv)
{
    bool windowless = false;
    for (const char* option : {"--headless", "--list", "--render-profile", "--help", "-h", "--help-all", "-?"})
        windowless = windowless || hasArgument(argc, argv, option);
    if (windowless && qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vanta-host"));
    QGuiApplication::setDesktopFileName(QStringLiteral("com.corvane.VantaHost"));  // its installed desktop entry

    const CommandLine line = parseCommandLine(app);
    const bool asLines = line.headless || line.renderProfile;
    if (!line.keys.isEmpty())
        qputenv("SYSTEMDLL_KEYBOARD_BACKEND", line.keys.toLatin1());
    if (!line.launch)
        qputenv("SYSTEMDLL_LAUNCH_BACKEND", "record");
    if (asLines)
        KeyEventLog::install();
    if (!line.gridValid) {
        complain(QStringLiteral("--grid takes COLSxROWS of 1 to 99 each, for example 5x3"), asLines);
        return kExitFailed;
    }
    if (line.renderProfile && line.out.isEmpty()) {
        complain(QStringLiteral("--render-profile needs --out PNG, the picture to write"), asLines);
        return kExitFailed;
    }
    if (line.options.library.isEmpty()) {
        const QStringList searched = PackageLoader::searchPaths(QCoreApplication::applicationDirPath());
        complain(QStringLiteral("cannot load the package library: none of %1 is a file (name it with --library PATH)")
                     .arg(searched.join(", ")),
                 asLines);
        return kExitCannotStart;
    }
    QDir().mkpath(line.options.configDir);

    HostSession session(line.options);
    QString error;
    if (!session.start(&error)) {
        complain(error, asLines);
        return kExitCannotStart;
    }
    if (line.list) {
        OutputWriter::line(describe(session, PackageLoader::kSupportedSdk));
        return 0;
    }
    if (line.renderProfile)
        return runRenderProfile(session, line.out);
    if (line.headless)
        return runHeadless(session, line.script, line.launch);
    return runWindow(app, session, line);
}
