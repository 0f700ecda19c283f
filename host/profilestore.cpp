#include "profilestore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>

ProfileStore::ProfileStore(QString path)
    : m_path(std::move(path))
{
}

bool ProfileStore::hasValidShape(const QJsonObject& profile)
{
    const QJsonValue grid = profile.value("grid");
    const QJsonValue keys = profile.value("keys");
    if (!grid.isObject() || !keys.isArray())
        return false;
    if (!grid["columns"].isDouble() || !grid["rows"].isDouble())
        return false;
    for (const QJsonValue& key : keys.toArray()) {
        if (!key.isObject() || !key["slot"].isDouble() || !key["category"].isString()
            || !key["target"].isString() || !(key["payload"].isObject() || key["payload"].isUndefined()))
            return false;
    }
    return true;
}

QJsonObject ProfileStore::load(QString* problem) const
{
    QFile file(m_path);
    if (!file.exists())
        return {};
    if (!file.open(QIODevice::ReadOnly)) {
        *problem = QStringLiteral("cannot read profile %1: %2").arg(m_path, file.errorString());
        return {};
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    file.close();
    if (document.isObject() && hasValidShape(document.object()))
        return document.object();
    const QString why = document.isObject() ? QStringLiteral("has the wrong shape") : parseError.errorString();
    const QString keptAs = setAside();
    *problem = QStringLiteral("profile %1 %2; kept as %3, starting with an empty deck").arg(m_path, why, keptAs);
    return {};
}

QString ProfileStore::setAside() const
{
    QString target = m_path + QStringLiteral(".bad");
    for (int n = 1; QFileInfo::exists(target); ++n)
        target = m_path + QStringLiteral(".bad.%1").arg(n);
    QFile::rename(m_path, target);
    return target;
}

bool ProfileStore::save(const QJsonObject& profile, QString* problem) const
{
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly)) {
        *problem = QStringLiteral("cannot write profile %1: %2").arg(m_path, file.errorString());
        return false;
    }
    file.write(QJsonDocument(profile).toJson(QJsonDocument::Indented));
    if (!file.commit()) {
        *problem = QStringLiteral("cannot write profile %1: %2").arg(m_path, file.errorString());
        return false;
    }
    return true;
}
