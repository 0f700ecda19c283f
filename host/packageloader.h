#pragma once

#include "packageinterface.h"

#include <QLibrary>
#include <QString>
#include <QStringList>
#include <memory>

// Finds a package library's two entry points and makes the package object, as any
// host does. Owns the library and, once made, the package.
class PackageLoader
{
public:
    static constexpr int kSupportedSdk = 4;
    static constexpr const char* kLibraryName = "libSystemDll.so";

    // Where the host looks for the package library when it is not named: beside the
    // host first (a build folder), then in the installed packages folder, found from
    // the host's folder so that an unpacked tree works wherever it lies.
    static QStringList searchPaths(const QString& hostDir);
    // The first of those that is a file; empty when there is none.
    static QString findLibrary(const QString& hostDir);

    explicit PackageLoader(const QString& path);
    ~PackageLoader();

    // Loads, checks the sdk level and calls instance(); on failure says why.
    bool load(QString* error);
    host::PackageInterface* package() const { return m_package; }
    int sdkLevel() const { return m_sdk; }
    // Deletes the package; the library stays loaded until the loader goes.
    void releasePackage();

private:
    QString m_path;
    QLibrary m_library;
    host::PackageInterface* m_package = nullptr;
    int m_sdk = 0;
};
