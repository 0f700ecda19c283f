#pragma once

#include <QByteArray>
#include <QJsonObject>

#include <mutex>

// Where the recording backends put what they would have sent or opened, for the process
// that loaded the library (a host, a test): one compact JSON object per line, each
// naming its "kind" ("keys", "media", "open").
//
// The host names the channel with SYSTEMDLL_RECORD_FD, the number of a descriptor it
// opened for writing on a regular file (an unlinked temporary file, which it reads by
// offset); the variable is read once, when the library is loaded, and the channel keeps
// a duplicate of the descriptor, so the host may close its own or drop the variable
// afterwards. Without the variable records go nowhere and nothing is logged. Pipes and
// sockets are refused: a host that drains one on the thread that writes would wait on
// itself. A descriptor that cannot be used, or a write that fails, gives one warning and
// ends the channel; the records stay with their backends either way.
class RecordChannel
{
public:
    static constexpr char kVariable[] = "SYSTEMDLL_RECORD_FD";

    // A channel on the descriptor named by `descriptor` (the variable's text); empty: none.
    explicit RecordChannel(const QByteArray& descriptor);
    ~RecordChannel();

    // The channel the host named for this process.
    static RecordChannel& instance();

    bool isOpen() const;
    // Appends `record` as one line. Safe to call from any thread.
    void write(const QJsonObject& record);

    RecordChannel(const RecordChannel&) = delete;
    RecordChannel& operator=(const RecordChannel&) = delete;

private:
    void close();

    mutable std::mutex m_mutex;
    int m_fd = -1;
};
