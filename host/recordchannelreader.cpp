#include "recordchannelreader.h"

#include "hostlog.h"

#include <QDir>
#include <QJsonDocument>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

namespace {
constexpr size_t kChunkBytes = 64 * 1024;
constexpr int kShownBytes = 200;
}

RecordChannelReader::~RecordChannelReader()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool RecordChannelReader::open(QString* error)
{
    QByteArray path = QFile::encodeName(QDir(QDir::tempPath()).filePath(QStringLiteral("vanta-host-records-XXXXXX")));
    // Appending, so that every write lands at the end whoever moved the offset.
    m_fd = ::mkostemp(path.data(), O_CLOEXEC | O_APPEND);
    if (m_fd < 0) {
        const QString why = QString::fromLocal8Bit(std::strerror(errno));
        *error = QStringLiteral("cannot make the record file %1: %2").arg(QFile::decodeName(path), why);
        return false;
    }
    ::unlink(path.constData());
    return true;
}

QList<QJsonObject> RecordChannelReader::take()
{
    QList<QJsonObject> records;
    if (m_fd < 0)
        return records;
    QByteArray added;
    char chunk[kChunkBytes];
    for (;;) {
        const ssize_t read = ::pread(m_fd, chunk, sizeof chunk, off_t(m_offset + added.size()));
        if (read < 0 && errno == EINTR)
            continue;
        if (read < 0) {
            const char* why = std::strerror(errno);
            qCWarning(lcHost) << "cannot read the record channel:" << why;
        }
        if (read <= 0)
            break;
        added.append(chunk, qsizetype(read));
    }
    const qsizetype whole = added.lastIndexOf('\n') + 1;
    m_offset += whole;
    added.truncate(whole);
    for (const QByteArray& line : added.split('\n')) {
        if (line.isEmpty())
            continue;
        const QJsonDocument document = QJsonDocument::fromJson(line);
        if (document.isObject())
            records << document.object();
        else
            qCWarning(lcHost) << "a record that is no JSON object is skipped:" << line.left(kShownBytes);
    }
    return records;
}
