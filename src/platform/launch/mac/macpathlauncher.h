#pragma once

#include "platform/launch/pathlauncher.h"

// Launch services open both: an application bundle starts, a document opens with
// its default application.
class MacPathLauncher final : public PathLauncher
{
public:
    QString name() const override;

protected:
    void launchApplication(const QString& path) override;
    void openDocument(const QString& path) override;
};
