#pragma once

// A FIFO named like an image, for tests that must not block on it. Should a reader
// still wait on it after the timeout, the watchdog opens and closes the writing end,
// which frees the reader with an empty read, and remembers that it had to.
#include <QString>

#include <atomic>
#include <chrono>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

class FifoWatchdog
{
public:
    explicit FifoWatchdog(const QString& path, int timeoutMs = 2000)
        : m_path(path.toLocal8Bit())
        , m_created(::mkfifo(m_path.constData(), 0600) == 0)
        , m_thread([this, timeoutMs] { watch(timeoutMs); })
    {
    }
    ~FifoWatchdog()
    {
        m_stop = true;
        m_thread.join();
        ::unlink(m_path.constData());
    }
    FifoWatchdog(const FifoWatchdog&) = delete;
    FifoWatchdog& operator=(const FifoWatchdog&) = delete;

    bool created() const { return m_created; }
    bool blockedAReader() const { return m_freed; }

private:
    void watch(int timeoutMs)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (!m_stop) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            if (std::chrono::steady_clock::now() < deadline)
                continue;
            // Succeeds only while a reader has the FIFO open or waits in open().
            const int fd = ::open(m_path.constData(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) {
                ::close(fd);
                m_freed = true;
            }
        }
    }

    QByteArray m_path;
    bool m_created;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_freed{false};
    std::thread m_thread;
};
