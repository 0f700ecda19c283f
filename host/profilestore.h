#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

// The profile file: {"version": 2, "grid": {"columns", "rows"}, "page": shown page,
// "pages": [{"name", "keys": [{"slot", "category", "target", "payload" | "preset"}]}]}.
// A profile of one page as older hosts wrote it ({"grid", "keys"}) reads as page 1.
//
// Nothing is lost: writes are atomic and the replaced file is first rotated into
// FILE.bak.1..3; a damaged file is set aside as FILE.bad (or FILE.bad.N) and the
// newest good backup takes its place; a file that cannot be read is never written.
class ProfileStore
{
public:
    static constexpr qint64 kMaxBytes = 16 * 1024 * 1024;
    static constexpr int kMaxSide = 99;  // columns and rows, as --grid takes them
    static constexpr int kMaxPages = 999;
    static constexpr int kBackups = 3;

    explicit ProfileStore(QString path, bool readOnly = false);

    const QString& path() const { return m_path; }
    // The stored profile in the form above; empty when there is none. What went wrong
    // (damaged, restored from a backup, unreadable) goes to `problems`.
    QJsonObject load(QStringList* problems);
    bool save(const QJsonObject& profile, QString* problem);
    // False once the file could not be read: it is then never overwritten.
    bool writable() const { return !m_readOnly && !m_unreadable; }
    // Copies the file as it was loaded to FILE.bad(.N), once; empty when nothing to keep.
    QString keepBadCopy();
    QString keptCopy() const { return m_keptCopy; }
    // True when the file existed but neither it nor a backup could be loaded.
    bool failed() const { return m_failed; }

    // The profile of `bytes` in the form above, or an empty object and why not.
    static QJsonObject parse(const QByteArray& bytes, QString* why);
    // The content of a regular file below `limit` bytes; checked before opening, so
    // a FIFO or a device is never read. Empty with `why` set when refused.
    static QByteArray readRegularFile(const QString& path, qint64 limit, QString* why);
    static QString freeName(const QString& base);

private:
    void rotateBackups() const;
    QString backupName(int n) const;

    QString m_path;
    bool m_readOnly;
    bool m_unreadable = false;
    bool m_failed = false;
    bool m_rotated = false;  // once per session: the backups keep earlier sessions' files
    QString m_keptCopy;
    QByteArray m_loadedBytes;  // the file as read, for the .bad copy
};
