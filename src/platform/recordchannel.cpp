#include "recordchannel.h"

#include "platformlog.h"

#include <QJsonDocument>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Read when the library is loaded, before the host can drop the variable again.
RecordChannel& processChannel()
{
    static RecordChannel channel(qgetenv(RecordChannel::kVariable));
    return channel;
}
[[maybe_unused]] RecordChannel& s_atLoad = processChannel();

} // namespace

RecordChannel::RecordChannel(const QByteArray& descriptor)
{
    if (descriptor.isEmpty())
        return;
    bool isNumber = false;
    const int fd = descriptor.toInt(&isNumber);
    if (!isNumber || fd < 0) {
        qCWarning(lcRecordChannel).nospace() << kVariable << "=" << descriptor
                                             << " is no descriptor number: nothing is recorded";
        return;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    struct stat info = {};
    if (flags < 0 || ::fstat(fd, &info) != 0) {
        const int error = errno;
        qCWarning(lcRecordChannel) << "record descriptor" << fd << "is not open:" << std::strerror(error)
                                   << "- nothing is recorded";
        return;
    }
    if ((flags & O_ACCMODE) == O_RDONLY) {
        qCWarning(lcRecordChannel) << "record descriptor" << fd << "is not open for writing: nothing is recorded";
        return;
    }
    if (S_ISFIFO(info.st_mode) || S_ISSOCK(info.st_mode)) {
        qCWarning(lcRecordChannel) << "record descriptor" << fd
                                   << "is a pipe or socket, which could hold the GUI thread: nothing is recorded";
        return;
    }
    m_fd = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    if (m_fd < 0) {
        const int error = errno;
        qCWarning(lcRecordChannel) << "cannot keep record descriptor" << fd << ":" << std::strerror(error)
                                   << "- nothing is recorded";
    }
}

RecordChannel::~RecordChannel()
{
    close();
}

RecordChannel& RecordChannel::instance()
{
    return processChannel();
}

bool RecordChannel::isOpen() const
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    return m_fd >= 0;
}

void RecordChannel::write(const QJsonObject& record)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (m_fd < 0)
        return;
    const QByteArray line = QJsonDocument(record).toJson(QJsonDocument::Compact) + '\n';
    const char* data = line.constData();
    qsizetype left = line.size();
    while (left > 0) {
        const ssize_t written = ::write(m_fd, data, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            const char* why = written < 0 ? std::strerror(errno) : "nothing written";
            qCWarning(lcRecordChannel) << "cannot write to the record channel:" << why
                                       << "- no more records are written";
            close();
            return;
        }
        data += written;
        left -= written;
    }
}

void RecordChannel::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}
