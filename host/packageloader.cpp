#include "packageloader.h"

#include <QDir>
#include <QFileInfo>

// The packages folder relative to the host's own, from the install layout (set by
// cmake/SystemDllInstall.cmake).
#ifndef VANTA_PACKAGES_FROM_BINDIR
#error "VANTA_PACKAGES_FROM_BINDIR must name the packages folder relative to the host's"
#endif

PackageLoader::PackageLoader(const QString& path)
    : m_path(path)
    , m_library(path)
{
}

PackageLoader::~PackageLoader()
{
    releasePackage();
}

QStringList PackageLoader::searchPaths(const QString& hostDir)
{
    const QString name = QString::fromLatin1(kLibraryName);
    const QString packages = QDir::cleanPath(hostDir + QLatin1Char('/') + QStringLiteral(VANTA_PACKAGES_FROM_BINDIR));
    return {QDir(hostDir).filePath(name), QDir(packages).filePath(name)};
}

QString PackageLoader::findLibrary(const QString& hostDir)
{
    for (const QString& path : searchPaths(hostDir)) {
        if (QFileInfo(path).isFile())
            return path;
    }
    return {};
}

bool PackageLoader::load(QString* error)
{
    if (!QFileInfo(m_path).isFile()) {
        *error = QStringLiteral("cannot load the package library: %1 is no file (name it with --library PATH)").arg(m_path);
        return false;
    }
    if (!m_library.load()) {
        // QLibrary's message repeats the name with its own prefixes: give the path as named.
        *error = QStringLiteral("cannot load the package library %1 (--library): %2")
                     .arg(m_path, m_library.errorString().section(QLatin1String(": "), -1));
        return false;
    }
    const auto sdk = reinterpret_cast<host::SdkFunction>(m_library.resolve("sdk"));
    const auto instance = reinterpret_cast<host::InstanceFunction>(m_library.resolve("instance"));
    if (!sdk || !instance) {
        *error = QStringLiteral("%1 has no sdk/instance entry points; is it a package library? (--library)").arg(m_path);
        return false;
    }
    m_sdk = sdk();
    if (m_sdk != kSupportedSdk) {
        *error = QStringLiteral("package sdk level %1 is not supported (expected %2)").arg(m_sdk).arg(kSupportedSdk);
        return false;
    }
    m_package = instance();
    if (!m_package) {
        *error = QStringLiteral("instance() returned no package");
        return false;
    }
    return true;
}

void PackageLoader::releasePackage()
{
    delete m_package;
    m_package = nullptr;
}
