#pragma once

#include <QString>

// The package's own settings file, for what the package keeps between runs by itself
// (not an action's settings: the host stores those): SystemDll/SystemDll.conf in the
// user's configuration folder (XDG_CONFIG_HOME).
namespace PackageSettings {
QString value(const QString& key);
void setValue(const QString& key, const QString& value);
}
