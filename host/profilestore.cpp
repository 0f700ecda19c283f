#include "profilestore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>

namespace {

bool inRange(const QJsonValue& value, int low, int high)
{
    return value.isDouble() && value.toDouble() == double(value.toInt()) && value.toInt() >= low && value.toInt() <= high;
}

} // namespace

ProfileStore::ProfileStore(QString path, bool readOnly)
    : m_path(std::move(path))
    , m_readOnly(readOnly)
{
}

QByteArray ProfileStore::readRegularFile(const QString& path, qint64 limit, QString* why)
{
    const QFileInfo info(path);  // follows links: a link to a device is no regular file
    if (!info.exists()) {
        *why = QStringLiteral("no such file");
        return {};
    }
    if (!info.isFile()) {
        *why = QStringLiteral("not a regular file");
        return {};
    }
    if (info.size() > limit) {
        *why = QStringLiteral("larger than %1 bytes").arg(limit);
        return {};
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *why = file.errorString();
        return {};
    }
    const QByteArray bytes = file.read(limit + 1);
    if (bytes.size() > limit) {
        *why = QStringLiteral("larger than %1 bytes").arg(limit);
        return {};
    }
    if (bytes.isEmpty() && file.error() != QFileDevice::NoError)
        *why = file.errorString();
    return bytes;
}

QJsonObject ProfileStore::parse(const QByteArray& bytes, QString* why)
{
    QJsonParseError parseError{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parseError);
    if (!document.isObject()) {
        *why = document.isNull() ? QStringLiteral("is not valid JSON: %1 at byte %2").arg(parseError.errorString()).arg(parseError.offset)
                                 : QStringLiteral("is not a JSON object");
        return {};
    }
    const QJsonObject stored = document.object();
    const QJsonObject grid = stored.value("grid").toObject();
    if (!inRange(grid.value("columns"), 1, kMaxSide) || !inRange(grid.value("rows"), 1, kMaxSide)) {
        *why = QStringLiteral("has no grid of 1 to %1 columns and rows").arg(kMaxSide);
        return {};
    }
    QJsonArray pages;
    if (stored.contains("pages")) {
        if (!stored.value("pages").isArray()) {
            *why = QStringLiteral("has \"pages\" that is not an array");
            return {};
        }
        pages = stored.value("pages").toArray();
        for (const QJsonValue& page : std::as_const(pages)) {
            if (!page.isObject() || !page["keys"].isArray()) {
                *why = QStringLiteral("has a page without a \"keys\" array");
                return {};
            }
        }
    } else if (stored.value("keys").isArray()) {
        pages.append(QJsonObject{{"keys", stored.value("keys")}});
    } else {
        *why = QStringLiteral("has neither \"pages\" nor \"keys\"");
        return {};
    }
    if (pages.isEmpty())
        pages.append(QJsonObject{{"keys", QJsonArray()}});
    if (pages.size() > kMaxPages) {
        *why = QStringLiteral("has more than %1 pages").arg(kMaxPages);
        return {};
    }
    const int page = inRange(stored.value("page"), 0, int(pages.size()) - 1) ? stored.value("page").toInt() : 0;
    return {{"version", 2}, {"grid", grid}, {"page", page}, {"pages", pages}};
}

QString ProfileStore::freeName(const QString& base)
{
    QString name = base;
    for (int n = 1; QFileInfo(name).exists() || QFileInfo(name).isSymLink(); ++n)
        name = base + QStringLiteral(".%1").arg(n);
    return name;
}

QString ProfileStore::backupName(int n) const
{
    return m_path + QStringLiteral(".bak.%1").arg(n);
}

QJsonObject ProfileStore::load(QStringList* problems)
{
    if (!QFileInfo(m_path).exists())
        return {};
    QString why;
    const QByteArray bytes = readRegularFile(m_path, kMaxBytes, &why);
    if (!why.isEmpty()) {
        m_unreadable = true;
        m_failed = true;
        problems->append(QStringLiteral("cannot read profile %1: %2; it is left as it is and no change is saved")
                             .arg(m_path, why));
        return {};
    }
    const QJsonObject profile = parse(bytes, &why);
    if (!profile.isEmpty()) {
        m_loadedBytes = bytes;
        return profile;
    }
    m_failed = true;
    if (m_readOnly) {
        problems->append(QStringLiteral("profile %1 is damaged: it %2").arg(m_path, why));
        return {};
    }
    m_keptCopy = freeName(m_path + QStringLiteral(".bad"));
    if (!QFile::rename(m_path, m_keptCopy)) {
        m_unreadable = true;
        problems->append(QStringLiteral("profile %1 is damaged: it %2; it cannot be set aside, so no change is saved")
                             .arg(m_path, why));
        return {};
    }
    const QString damaged = QStringLiteral("profile %1 was damaged: it %2; kept as %3").arg(m_path, why, m_keptCopy);
    for (int n = 1; n <= kBackups; ++n) {
        QString backupProblem;
        const QJsonObject backup = parse(readRegularFile(backupName(n), kMaxBytes, &backupProblem), &backupProblem);
        if (!backup.isEmpty()) {
            m_failed = false;
            problems->append(damaged + QStringLiteral(", restored from %1").arg(backupName(n)));
            return backup;
        }
    }
    problems->append(damaged + QStringLiteral(", starting with an empty deck"));
    return {};
}

QString ProfileStore::keepBadCopy()
{
    if (!m_keptCopy.isEmpty() || m_loadedBytes.isEmpty() || m_readOnly)
        return m_keptCopy;
    const QString target = freeName(m_path + QStringLiteral(".bad"));
    QSaveFile file(target);
    if (file.open(QIODevice::WriteOnly) && file.write(m_loadedBytes) == m_loadedBytes.size() && file.commit())
        m_keptCopy = target;
    return m_keptCopy;
}

void ProfileStore::rotateBackups() const
{
    QString why;
    const QByteArray current = readRegularFile(m_path, kMaxBytes, &why);
    if (parse(current, &why).isEmpty())
        return;  // only good versions are kept
    QFile::remove(backupName(kBackups));
    for (int n = kBackups - 1; n >= 1; --n)
        QFile::rename(backupName(n), backupName(n + 1));
    QSaveFile backup(backupName(1));
    if (backup.open(QIODevice::WriteOnly)) {
        backup.write(current);
        backup.commit();
    }
}

bool ProfileStore::save(const QJsonObject& profile, QString* problem)
{
    if (!writable()) {
        *problem = QStringLiteral("profile %1 was not read, so it is not overwritten").arg(m_path);
        return false;
    }
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    if (!m_rotated) {
        m_rotated = true;
        rotateBackups();
    }
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
