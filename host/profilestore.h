#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QLockFile>
#include <QString>
#include <QStringList>

#include <memory>

// The profile file: {"version": 2, "grid": {"columns", "rows"}, "page": shown page,
// "pages": [{"name", "keys": [{"slot", "category", "target", "payload" | "preset"}]}]}.
// A profile of one page as older hosts wrote it ({"grid", "keys"}) reads as page 1.
// Fields this host does not know (at the top, in "grid") are kept through a save.
//
// Nothing is lost: writes are atomic, checked to the last byte, compact and never
// larger than a load accepts; the replaced file is first rotated into FILE.bak.1..3;
// a damaged or oversized file is set aside as FILE.bad (or FILE.bad.N) and the newest
// good backup takes its place; a file that cannot be read, one written by a newer
// host, and one that another host has open (FILE.lock) are never written.
class ProfileStore
{
public:
    static constexpr qint64 kMaxBytes = 16 * 1024 * 1024;
    static constexpr int kMaxSide = 99;  // columns and rows, as --grid takes them
    static constexpr int kMaxPages = 999;
    static constexpr int kBackups = 3;
    static constexpr int kVersion = 2;

    explicit ProfileStore(QString path, bool readOnly = false);
    ~ProfileStore();
    ProfileStore(const ProfileStore&) = delete;
    ProfileStore& operator=(const ProfileStore&) = delete;

    const QString& path() const { return m_path; }
    // Takes the profile's lock, then reads it: the stored profile in the form above,
    // empty when there is none. What went wrong (damaged, restored from a backup,
    // unreadable, newer, open elsewhere) goes to `problems`.
    QJsonObject load(QStringList* problems);
    // Writes `profile` with the unknown fields of the loaded one. Safe to call from
    // another thread than load(), never from two at once.
    bool save(const QJsonObject& profile, QString* problem);
    // False once the file could not be read, is newer or is open in another host:
    // it is then never overwritten.
    bool writable() const { return !m_readOnly && m_whyReadOnly.isEmpty(); }
    // Why changes are not saved; empty while they are.
    QString whyReadOnly() const { return m_whyReadOnly; }
    // Copies the file as it was loaded to FILE.bad(.N), once; empty when nothing to keep.
    QString keepBadCopy();
    QString keptCopy() const { return m_keptCopy; }
    // True when the file existed but neither it nor a backup could be loaded.
    bool failed() const { return m_failed; }
    // True when the file could not be used as it was (set aside, unreadable, newer,
    // open elsewhere).
    bool troubled() const { return m_troubled; }

    // The profile of `bytes` in the form above, or an empty object and why not.
    static QJsonObject parse(const QByteArray& bytes, QString* why);
    // The bytes a save writes for `profile`: compact, and empty with `why` when they
    // would be more than a load accepts.
    static QByteArray encode(const QJsonObject& profile, QString* why);
    // The content of a regular file below `limit` bytes; checked before opening, so
    // a FIFO or a device is never read. Empty with `why` set when refused.
    static QByteArray readRegularFile(const QString& path, qint64 limit, QString* why);
    static QString freeName(const QString& base);
    // Writes `bytes` to `path` atomically, every byte checked; false with why.
    static bool writeFile(const QString& path, const QByteArray& bytes, QString* why);

private:
    bool lock(QStringList* problems);
    QJsonObject accept(const QJsonObject& profile, QStringList* problems);
    bool rotateBackups(QString* problem);
    QString backupName(int n) const;
    QJsonObject withCarried(const QJsonObject& profile) const;

    QString m_path;
    bool m_readOnly;
    QString m_whyReadOnly;
    bool m_failed = false;
    bool m_troubled = false;
    bool m_rotated = false;  // once per session: the backups keep earlier sessions' files
    QString m_keptCopy;
    QByteArray m_loadedBytes;  // the file as read, for the .bad copy
    QJsonObject m_carried;     // the loaded profile, for the fields this host does not know
    std::unique_ptr<QLockFile> m_lock;
};
