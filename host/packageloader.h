#pragma once

#include "packageinterface.h"

#include <QLibrary>
#include <QString>
#include <memory>

// Finds a package library's two entry points and makes the package object, as any
// host does. Owns the library and, once made, the package.
class PackageLoader
{
public:
    static constexpr int kSupportedSdk = 4;

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
