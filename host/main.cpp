// vanta-host: a reference host for the package library.
#include "packageinterface.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLibrary>
#include <QStandardPaths>

#include <cstdio>

namespace {

constexpr int kSupportedSdk = 4;

QString defaultLibraryPath()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("libSystemDll.so"));
}

// What a host reads from a package, in the order of use, as one JSON object.
QJsonObject describe(host::PackageInterface& package, int sdkLevel, const QString& lang)
{
    QJsonObject description;
    description["sdk"] = sdkLevel;
    description["init"] = package.init({{"port", 0},
                                        {"configDir", QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)},
                                        {"cloudType", 0}});
    description["loadConfig"] = package.loadConfig();
    description["versionCode"] = package.versionCode();
    description["versionName"] = package.versionName();
    description["list"] = package.list();
    QTranslator* translator = package.translate(lang);
    if (translator)
        QCoreApplication::installTranslator(translator);
    QJsonObject mapping;
    const QMap<QString, QString> titles = package.mapping();
    for (auto it = titles.cbegin(); it != titles.cend(); ++it)
        mapping[it.key()] = it.value();
    description["mapping"] = mapping;
    if (translator)
        QCoreApplication::removeTranslator(translator);
    return description;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vanta-host"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Reference host for the System package library."));
    parser.addHelpOption();
    const QCommandLineOption libraryOption("library", "The package library to load.", "PATH", defaultLibraryPath());
    const QCommandLineOption langOption("lang", "Language of the titles.", "LANG", "en_US");
    const QCommandLineOption describeOption("describe", "Print what the host reads from the package as JSON and exit.");
    parser.addOptions({libraryOption, langOption, describeOption});
    parser.process(app);

    QLibrary library(parser.value(libraryOption));
    if (!library.load()) {
        std::fprintf(stderr, "vanta-host: cannot load %s: %s\n", qPrintable(library.fileName()),
                     qPrintable(library.errorString()));
        return 2;
    }
    const auto sdk = reinterpret_cast<host::SdkFunction>(library.resolve("sdk"));
    const auto instance = reinterpret_cast<host::InstanceFunction>(library.resolve("instance"));
    if (!sdk || !instance) {
        std::fprintf(stderr, "vanta-host: %s has no sdk/instance entry points\n", qPrintable(library.fileName()));
        return 2;
    }
    const int sdkLevel = sdk();
    if (sdkLevel != kSupportedSdk) {
        std::fprintf(stderr, "vanta-host: package sdk level %d is not supported (expected %d)\n", sdkLevel,
                     kSupportedSdk);
        return 2;
    }
    std::unique_ptr<host::PackageInterface> package(instance());
    const QJsonObject description = describe(*package, sdkLevel, parser.value(langOption));
    std::fputs(QJsonDocument(description).toJson(QJsonDocument::Indented).constData(), stdout);
    return 0;
}
