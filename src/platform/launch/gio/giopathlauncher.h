#pragma once

#include "platform/launch/pathlauncher.h"

// Linux: GIO launches a desktop entry's application; a document goes to Qt's desktop
// services, which hand it to the portal or the desktop's default application.
class GioPathLauncher final : public PathLauncher
{
public:
    QString name() const override;

protected:
    void launchApplication(const QString& path) override;
    void openDocument(const QString& path) override;
};
