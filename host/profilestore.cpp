#include "profilestore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <limits>

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

ProfileStore::~ProfileStore() = default;  // the lock goes with the store

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
    // A newer host's version number is kept, so that it is never written over.
    const QJsonValue version = stored.value("version");
    QJsonObject profile = stored;
    profile.remove("keys");
    profile["version"] = inRange(version, kVersion + 1, std::numeric_limits<int>::max()) ? version.toInt() : kVersion;
    profile["page"] = page;
    profile["pages"] = pages;
    return profile;
}

QByteArray ProfileStore::encode(const QJsonObject& profile, QString* why)
{
    QByteArray bytes = QJsonDocument(profile).toJson(QJsonDocument::Compact);
    if (bytes.size() > kMaxBytes) {
        *why = QStringLiteral("it would take %1 bytes, more than the %2 a profile may have").arg(bytes.size()).arg(kMaxBytes);
        return {};
    }
    return bytes;
}

bool ProfileStore::writeFile(const QString& path, const QByteArray& bytes, QString* why)
{
    // Unbuffered: a short write (disk full, file size limit) shows in write()'s count,
    // which QSaveFile alone would commit as a truncated file.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        *why = file.errorString();
        return false;
    }
    errno = 0;
    const qint64 written = file.write(bytes);
    if (written != bytes.size()) {
        const int error = errno;
        file.cancelWriting();
        *why = QStringLiteral("only %1 of %2 bytes could be written (%3)")
                   .arg(qMax<qint64>(written, 0))
                   .arg(bytes.size())
                   .arg(error ? QString::fromLocal8Bit(std::strerror(error)) : file.errorString());
        return false;
    }
    if (!file.commit()) {
        *why = file.errorString();
        return false;
    }
    return true;
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

bool ProfileStore::lock(QStringList* problems)
{
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    m_lock = std::make_unique<QLockFile>(m_path + QStringLiteral(".lock"));
    m_lock->setStaleLockTime(0);  // held as long as the host runs; a dead holder's lock is stale
    if (m_lock->tryLock(0))
        return true;
    if (m_lock->error() != QLockFile::LockFailedError) {
        // No lock can be made here (a read-only folder, say): a save says what fails.
        m_lock.reset();
        return true;
    }
    qint64 pid = 0;
    QString hostName;
    QString application;
    m_lock->getLockInfo(&pid, &hostName, &application);
    m_lock.reset();
    m_whyReadOnly = QStringLiteral("profile %1 is open in another %2 (process %3): it is shown read-only here and "
                                   "no change is saved")
                        .arg(m_path, application.isEmpty() ? QStringLiteral("host") : application)
                        .arg(pid);
    m_troubled = true;
    problems->append(m_whyReadOnly);
    return false;
}

QJsonObject ProfileStore::accept(const QJsonObject& profile, QStringList* problems)
{
    m_carried = profile;
    const int version = profile.value("version").toInt();
    if (version > kVersion && m_whyReadOnly.isEmpty()) {
        m_whyReadOnly = QStringLiteral("profile %1 was written by a newer host (version %2; this one writes %3): it is "
                                       "shown read-only and no change is saved")
                            .arg(m_path).arg(version).arg(kVersion);
        m_troubled = true;
        problems->append(m_whyReadOnly);
    }
    return profile;
}

QJsonObject ProfileStore::load(QStringList* problems)
{
    const bool locked = m_readOnly || lock(problems);
    const QFileInfo info(m_path);
    if (!info.exists())
        return {};
    QString why;
    // A regular file over the limit is refused like a damaged one: set aside, and the
    // newest good backup read instead.
    const bool oversized = info.isFile() && info.size() > kMaxBytes;
    const QByteArray bytes = oversized ? QByteArray() : readRegularFile(m_path, kMaxBytes, &why);
    if (!why.isEmpty()) {
        m_whyReadOnly = QStringLiteral("profile %1 was not read, so it is not overwritten").arg(m_path);
        m_failed = true;
        m_troubled = true;
        problems->append(QStringLiteral("cannot read profile %1: %2; it is left as it is and no change is saved")
                             .arg(m_path, why));
        return {};
    }
    const QJsonObject profile = oversized ? QJsonObject() : parse(bytes, &why);
    if (!profile.isEmpty()) {
        m_loadedBytes = bytes;
        return accept(profile, problems);
    }
    if (oversized)
        why = QStringLiteral("is larger than %1 bytes").arg(kMaxBytes);
    m_failed = true;
    m_troubled = true;
    if (m_readOnly || !locked) {
        problems->append(QStringLiteral("profile %1 is damaged: it %2").arg(m_path, why));
        return {};
    }
    m_keptCopy = freeName(m_path + QStringLiteral(".bad"));
    if (!QFile::rename(m_path, m_keptCopy)) {
        m_whyReadOnly = QStringLiteral("profile %1 was not read, so it is not overwritten").arg(m_path);
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
            return accept(backup, problems);
        }
    }
    problems->append(damaged + QStringLiteral(", starting with an empty deck"));
    return {};
}

QString ProfileStore::keepBadCopy()
{
    if (!m_keptCopy.isEmpty() || m_loadedBytes.isEmpty() || !writable())
        return m_keptCopy;
    const QString target = freeName(m_path + QStringLiteral(".bad"));
    QString why;
    if (writeFile(target, m_loadedBytes, &why))
        m_keptCopy = target;
    return m_keptCopy;
}

// The file as it is becomes .bak.1 (the older ones move up), written before any
// backup is renamed, so that a full disk costs no backup.
bool ProfileStore::rotateBackups(QString* problem)
{
    QString why;
    const QByteArray current = readRegularFile(m_path, kMaxBytes, &why);
    if (parse(current, &why).isEmpty())
        return true;  // only good versions are kept
    const QString fresh = m_path + QStringLiteral(".bak.new");
    if (!writeFile(fresh, current, &why)) {
        *problem = QStringLiteral("cannot keep a backup of profile %1 (%2): the change is not saved, the file stays as it was")
                       .arg(m_path, why);
        return false;
    }
    QFile::remove(backupName(kBackups));
    for (int n = kBackups - 1; n >= 1; --n)
        QFile::rename(backupName(n), backupName(n + 1));
    if (!QFile::rename(fresh, backupName(1))) {
        *problem = QStringLiteral("cannot keep a backup of profile %1 as %2: the change is not saved, the file stays as it was")
                       .arg(m_path, backupName(1));
        return false;
    }
    return true;
}

QJsonObject ProfileStore::withCarried(const QJsonObject& profile) const
{
    QJsonObject merged = m_carried;
    for (auto it = profile.begin(); it != profile.end(); ++it)
        merged[it.key()] = it.value();
    QJsonObject grid = m_carried.value("grid").toObject();
    const QJsonObject given = profile.value("grid").toObject();
    for (auto it = given.begin(); it != given.end(); ++it)
        grid[it.key()] = it.value();
    merged["grid"] = grid;
    return merged;
}

bool ProfileStore::save(const QJsonObject& profile, QString* problem)
{
    if (!writable()) {
        *problem = m_whyReadOnly.isEmpty() ? QStringLiteral("profile %1 is open read-only, so it is not overwritten").arg(m_path)
                                           : m_whyReadOnly;
        return false;
    }
    QString why;
    const QByteArray bytes = encode(withCarried(profile), &why);
    if (bytes.isEmpty()) {
        *problem = QStringLiteral("the change is not saved to profile %1: %2").arg(m_path, why);
        return false;
    }
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    if (!m_rotated) {
        if (!rotateBackups(problem))
            return false;
        m_rotated = true;
    }
    if (!writeFile(m_path, bytes, &why)) {
        *problem = QStringLiteral("cannot write profile %1: %2; the file stays as it was").arg(m_path, why);
        return false;
    }
    return true;
}
