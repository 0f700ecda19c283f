// vanta-host: a reference host for the package library. Loads it as any host does,
// shows a virtual deck, keeps a profile, and runs scripts headless.
#include "deckbus.h"
#include "deckwindow.h"
#include "descriptors.h"
#include "focuskeeper.h"
#include "headlessmode.h"
#include "hostsession.h"
#include "mainwindow.h"
#include "outputwriter.h"
#include "packageloader.h"
#include "pagefollower.h"
#include "pressgate.h"
#include "quitsignals.h"
#include "recordchannelreader.h"
#include "urlcatcher.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
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

// Whether a backend of the package records rather than sends: its records are printed.
bool packageRecords()
{
    for (const char* variable : {"SYSTEMDLL_KEYBOARD_BACKEND", "SYSTEMDLL_MEDIA_BACKEND", "SYSTEMDLL_LAUNCH_BACKEND"}) {
        if (qEnvironmentVariable(variable) == QLatin1String("record"))
            return true;
    }
    return false;
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

// Under a bare window manager Qt names no icon theme but hicolor, which holds
// application icons only: take an installed full theme for file-type icons.
void useFullIconTheme()
{
    if (!QIcon::themeName().isEmpty() && QIcon::themeName() != QLatin1String("hicolor"))
        return;
    for (const char* theme : {"Adwaita", "breeze", "gnome"}) {
        const QString index = QStringLiteral("icons/%1/index.theme").arg(QLatin1String(theme));
        if (!QStandardPaths::locate(QStandardPaths::GenericDataLocation, index).isEmpty()) {
            QIcon::setThemeName(QLatin1String(theme));
            return;
        }
    }
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
    bool deck = false;
    bool onTop = false;
    bool followFocus = false;
    int press = -1;       // --press: the slot to press in the running host
    int pressPage = -1;
    bool pressValid = true;
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
    const QCommandLineOption deck("deck", "Show only the deck, in a window that never takes the keyboard focus.");
    const QCommandLineOption onTop("on-top", "With --deck: keep the deck above other windows.");
    const QCommandLineOption press("press", "Press a key of the running host (slot from 0) and exit.", "SLOT");
    const QCommandLineOption page("page", "With --press: show this page (from 0) first.", "N");
    const QCommandLineOption followFocus("follow-focus",
                                         "With --headless: show the page of the focused application, printing each switch.");
    parser.addOptions({library, configDir, profile, lang, grid, list, headless, script, noLaunch, keys,
                       renderProfile, out, deck, onTop, press, page, followFocus});
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
    // The window opens the profile the user last switched to; scripts get the one named.
    const bool window = !parser.isSet(headless) && !parser.isSet(list) && !parser.isSet(renderProfile) && !parser.isSet(press);
    const QString last = HostSession::lastProfile(line.options.configDir);
    if (window && !parser.isSet(profile) && !last.isEmpty()) {
        line.options.defaultProfile = line.options.profilePath;
        line.options.profilePath = last;
    }
    line.gridValid = parseGrid(parser.value(grid), &line.options.columns, &line.options.rows);
    line.list = parser.isSet(list);
    line.headless = parser.isSet(headless);
    line.launch = !parser.isSet(noLaunch);
    line.renderProfile = parser.isSet(renderProfile);
    line.script = parser.value(script);
    line.out = parser.value(out);
    line.keys = parser.value(keys);
    line.deck = parser.isSet(deck);
    line.onTop = parser.isSet(onTop);
    line.followFocus = parser.isSet(followFocus);
    if (parser.isSet(press)) {
        bool slotOk = false;
        bool pageOk = true;
        line.press = parser.value(press).toInt(&slotOk);
        if (parser.isSet(page))
            line.pressPage = parser.value(page).toInt(&pageOk);
        line.pressValid = slotOk && pageOk && line.press >= 0 && line.pressPage >= -1;
    }
    return line;
}

// --press: hands the press to the host that runs on this session bus.
int runPress(const CommandLine& line)
{
    if (!line.pressValid) {
        complain(QStringLiteral("--press takes a slot counted from 0, --page a page counted from 0"), true);
        return kExitFailed;
    }
    QDBusInterface deck(QString::fromLatin1(DeckBus::kService), QString::fromLatin1(DeckBus::kPath),
                        QString::fromLatin1(DeckBus::kInterface), QDBusConnection::sessionBus());
    const QDBusReply<QString> answer = deck.call(QStringLiteral("Press"), line.press, line.pressPage);
    if (!answer.isValid()) {
        complain(QStringLiteral("no running vanta-host answers on the session bus (%1)").arg(answer.error().message()), true);
        return kExitFailed;
    }
    if (!answer.value().isEmpty()) {
        complain(answer.value(), true);
        return kExitFailed;
    }
    return 0;
}

// The deck window on the profile; a first run starts with one Open URL key.
int runWindow(QApplication& app, HostSession& session, const CommandLine& line, QuitSignals& quit)
{
    // As if the window were closed: the profile is written and the clipboard handed on.
    QObject::connect(&quit, &QuitSignals::received, &app, [](int signal) {
        std::fprintf(stderr, "vanta-host: %s, quitting\n", qPrintable(QuitSignals::nameOf(signal)));
        QCoreApplication::exit(0);
    });
    const bool firstRun = !QFileInfo(line.options.profilePath).exists();
    QStringList problems;
    session.restoreProfile(&problems);
    for (const QString& problem : std::as_const(problems))
        complain(problem, false);
    QString error;
    if (firstRun)
        session.deck().assign(0, QString::fromLatin1(kOpenUrlCategory), {}, &error);
    UrlCatcher urls(line.launch);
    if (line.deck) {
        FocusKeeper focus;
        PressGate gate(session, focus);
        DeckBus bus(session, gate);
        bus.publish();
        DeckWindow deck(session, gate);
        deck.setStaysOnTop(line.onTop);
        PageFollower follower(session);
        QObject::connect(&urls, &UrlCatcher::failed, [](const QString& url, const QString& why) {
            complain(QStringLiteral("could not open %1: %2").arg(url, why), false);
        });
        deck.show();
        return app.exec();
    }
    MainWindow window(session);
    DeckBus bus(session, window.pressGate());
    bus.publish();
    window.showProblems(problems);
    window.watchUrls(urls, line.launch);
    window.show();
    return app.exec();
}

} // namespace

int main(int argc, char** argv)
{
    // Two descriptors a key: a large page needs more than the usual soft limit.
    Descriptors::raiseLimit();
    bool windowless = false;
    for (const char* option : {"--headless", "--list", "--render-profile", "--press", "--help", "-h", "--help-all", "-?"})
        windowless = windowless || hasArgument(argc, argv, option);
    if (windowless && qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vanta-host"));
    QGuiApplication::setDesktopFileName(QStringLiteral("com.corvane.VantaHost"));  // its installed desktop entry
    useFullIconTheme();

    const CommandLine line = parseCommandLine(app);
    const bool asLines = line.headless || line.renderProfile;
    if (!line.keys.isEmpty())
        qputenv("SYSTEMDLL_KEYBOARD_BACKEND", line.keys.toLatin1());
    if (!line.launch)
        qputenv("SYSTEMDLL_LAUNCH_BACKEND", "record");
    if (line.press >= 0 || !line.pressValid)
        return runPress(line);
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

    QString error;
    RecordChannelReader records;
    const bool printRecords = line.headless && packageRecords();
    if (printRecords) {
        if (!records.open(&error)) {
            complain(error, asLines);
            return kExitFailed;
        }
        qputenv(RecordChannelReader::kVariable, QByteArray::number(records.descriptor()));
    }
    HostSession session(line.options);
    const bool started = session.start(&error);
    // The package has read it while loading; what it starts must not inherit it.
    qunsetenv(RecordChannelReader::kVariable);
    if (!started) {
        complain(error, asLines);
        return kExitCannotStart;
    }
    if (line.list) {
        OutputWriter::line(describe(session, PackageLoader::kSupportedSdk));
        return 0;
    }
    if (line.renderProfile)
        return runRenderProfile(session, line.out);
    QuitSignals quit;
    if (line.headless)
        return runHeadless(session, line.script, line.launch, printRecords ? &records : nullptr, line.followFocus, &quit);
    return runWindow(app, session, line, quit);
}
