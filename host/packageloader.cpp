#include "packageloader.h"

PackageLoader::PackageLoader(const QString& path)
    : m_library(path)
{
}

PackageLoader::~PackageLoader()
{
    releasePackage();
}

bool PackageLoader::load(QString* error)
{
    if (!m_library.load()) {
        *error = QStringLiteral("cannot load %1: %2").arg(m_library.fileName(), m_library.errorString());
        return false;
    }
    const auto sdk = reinterpret_cast<host::SdkFunction>(m_library.resolve("sdk"));
    const auto instance = reinterpret_cast<host::InstanceFunction>(m_library.resolve("instance"));
    if (!sdk || !instance) {
        *error = QStringLiteral("%1 has no sdk/instance entry points").arg(m_library.fileName());
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
