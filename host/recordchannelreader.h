#pragma once

#include <QJsonObject>
#include <QList>
#include <QString>

// The host's end of the package's record channel. The package's recording backends
// (keys, media keys, opened paths) append one compact JSON object per line, each naming
// its "kind", to the descriptor named by SYSTEMDLL_RECORD_FD when the library loads.
// Here that is an unlinked temporary file, read by offset: the package never waits on
// the host, and nothing is left on disk.
class RecordChannelReader
{
public:
    static constexpr char kVariable[] = "SYSTEMDLL_RECORD_FD";

    RecordChannelReader() = default;
    ~RecordChannelReader();

    // Makes the file; false and why not when it cannot be made.
    bool open(QString* error);
    // The descriptor to name in kVariable, or -1 before open().
    int descriptor() const { return m_fd; }
    // Every whole record appended since the last call, in order; a line still being
    // written waits for the next call, a line that is no JSON object is skipped.
    QList<QJsonObject> take();

    RecordChannelReader(const RecordChannelReader&) = delete;
    RecordChannelReader& operator=(const RecordChannelReader&) = delete;

private:
    int m_fd = -1;
    qint64 m_offset = 0;
};
