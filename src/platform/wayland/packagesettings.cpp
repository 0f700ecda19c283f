#include "packagesettings.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace {
QString fileName()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return QDir(folder).filePath(QStringLiteral("SystemDll/SystemDll.conf"));
}
}

namespace PackageSettings {

QString value(const QString& key)
{
    return QSettings(fileName(), QSettings::IniFormat).value(key).toString();
}

void setValue(const QString& key, const QString& value)
{
    QSettings settings(fileName(), QSettings::IniFormat);
    settings.setValue(key, value);
}

} // namespace PackageSettings
