#pragma once

#include <QJsonObject>
#include <QString>

// The profile file: {"grid": {"columns", "rows"}, "keys": [{"slot", "category",
// "target", "payload"}]}. Written atomically; a damaged file is set aside as
// FILE.bad (or FILE.bad.N), never deleted or overwritten.
class ProfileStore
{
public:
    explicit ProfileStore(QString path);

    const QString& path() const { return m_path; }
    // The stored profile; empty when there is none. A damaged one is renamed and
    // reported through `problem`.
    QJsonObject load(QString* problem) const;
    bool save(const QJsonObject& profile, QString* problem) const;

    static bool hasValidShape(const QJsonObject& profile);

private:
    QString setAside() const;

    QString m_path;
};
