#include "sessionbusprobe.h"

#include <QByteArrayList>
#include <QDeadlineTimer>

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

enum class Probe { Answers, Silent, NotProbed };

// A D-Bus address value with its %xx escapes undone.
QByteArray unescaped(const QByteArray& value)
{
    return QByteArray::fromPercentEncoding(value);
}

class Socket
{
public:
    Socket() : m_fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0)) {}
    ~Socket()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    int fd() const { return m_fd; }

private:
    int m_fd;
};

bool waitFor(int fd, short events, const QDeadlineTimer& deadline)
{
    pollfd p{fd, events, 0};
    for (;;) {
        const int r = ::poll(&p, 1, int(deadline.remainingTime()));
        if (r > 0)
            return true;
        if (r == 0 || errno != EINTR)
            return false;
    }
}

// One "unix:" entry: path= or abstract=.
Probe probeUnix(const QByteArray& parameters, const QDeadlineTimer& deadline)
{
    QByteArray path;
    bool abstract = false;
    for (const QByteArray& pair : parameters.split(',')) {
        if (pair.startsWith("path="))
            path = unescaped(pair.mid(5));
        else if (pair.startsWith("abstract=")) {
            path = unescaped(pair.mid(9));
            abstract = true;
        }
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const size_t offset = abstract ? 1 : 0;
    if (path.isEmpty() || size_t(path.size()) + offset >= sizeof(address.sun_path))
        return Probe::NotProbed;
    std::memcpy(address.sun_path + offset, path.constData(), size_t(path.size()));
    const socklen_t length = socklen_t(offsetof(sockaddr_un, sun_path) + offset + size_t(path.size()) + (abstract ? 0 : 1));

    Socket socket;
    if (socket.fd() < 0)
        return Probe::NotProbed;
    if (::connect(socket.fd(), reinterpret_cast<const sockaddr*>(&address), length) != 0) {
        if (errno != EINPROGRESS && errno != EAGAIN)
            return Probe::Silent;  // nobody listens there
        if (!waitFor(socket.fd(), POLLOUT, deadline))
            return Probe::Silent;
    }
    const QByteArray hello = QByteArray(1, '\0') + "AUTH EXTERNAL " + QByteArray::number(::getuid()).toHex() + "\r\n";
    if (::send(socket.fd(), hello.constData(), size_t(hello.size()), MSG_NOSIGNAL) != hello.size())
        return Probe::Silent;
    if (!waitFor(socket.fd(), POLLIN, deadline))
        return Probe::Silent;
    char reply[64];
    const ssize_t n = ::recv(socket.fd(), reply, sizeof reply, 0);
    return n > 0 ? Probe::Answers : Probe::Silent;
}

} // namespace

namespace SessionBusProbe {

bool answers(const QByteArray& address, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    bool probed = false;
    for (const QByteArray& entry : address.split(';')) {
        const int colon = entry.indexOf(':');
        if (colon < 0 || entry.left(colon) != "unix")
            continue;
        switch (probeUnix(entry.mid(colon + 1), deadline)) {
        case Probe::Answers:
            return true;
        case Probe::Silent:
            probed = true;
            break;
        case Probe::NotProbed:
            break;
        }
        if (deadline.hasExpired())
            break;
    }
    return !probed;
}

} // namespace SessionBusProbe
