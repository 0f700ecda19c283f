#pragma once

#include "platform/launch/pathlauncher.h"

#include <QList>
#include <QPair>

// Keeps every opened path with its kind and opens nothing. Used by tests and by a
// host that only reports what would have been opened.
class RecordingPathLauncher final : public PathLauncher
{
public:
    using Opened = QPair<Kind, QString>;

    QString name() const override;
    const QList<Opened>& opened() const { return m_opened; }
    void clear() { m_opened.clear(); }

protected:
    void launchApplication(const QString& path) override;
    void openDocument(const QString& path) override;

private:
    void record(Kind kind, const QString& path);

    QList<Opened> m_opened;
};
