#pragma once

#include "platform/launch/pathlauncher.h"

#include <QList>
#include <QPair>

// Keeps every opened path with its kind and opens nothing. Used by tests and by a
// host that only reports what would have been opened. Addresses are recorded too,
// whatever their scheme, except web addresses (http, https, none): those still go to
// the desktop services, whose handlers a recording host sets to report them.
class RecordingPathLauncher final : public PathLauncher
{
public:
    using Opened = QPair<Kind, QString>;

    QString name() const override;
    void openUrl(const QUrl& url) override;
    const QList<Opened>& opened() const { return m_opened; }
    void clear() { m_opened.clear(); }

protected:
    void launchApplication(const QString& path) override;
    void openDocument(const QString& path) override;
    void runExecutable(const QString& path) override;

private:
    void record(Kind kind, const QString& path);

    QList<Opened> m_opened;
};
