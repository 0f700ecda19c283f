#pragma once

#include <QString>

class QDateTime;

// The folder below the configuration directory that holds the icons the user picks or
// builds. New files are claimed exclusively, so an existing icon is never replaced:
// a taken "yyyyMMddmmss.suffix" becomes "yyyyMMddmmss_1.suffix", "_2", and so on.
class IconFolder
{
public:
    // "configDir/icon"; empty while the host has not passed a configuration directory.
    static QString path();

    // Creates an empty file with a fresh name in the icon folder and returns its path,
    // or an empty string (logged) when the folder cannot be made or written.
    static QString claimNewFile(const QString& suffix);
    static QString claimNewFile(const QString& suffix, const QDateTime& when);

    // True when `filePath` lies inside the icon folder.
    static bool contains(const QString& filePath);
};
