#pragma once

#include "focussource.h"

#include <QJsonObject>
#include <QLocalSocket>
#include <QTimer>

// The focused window on sway (or another compositor with i3's IPC): one socket,
// subscribed to window events; get_tree answers for the programs.
class SwayFocusSource : public FocusSource
{
    Q_OBJECT
public:
    explicit SwayFocusSource(const QString& socketPath, QObject* parent = nullptr);

    void listPrograms() override;
    // Whether sway has taken the subscription to window events.
    bool subscribed() const { return m_subscribed; }

    // i3 IPC framing: "i3-ipc", the payload's length and the message type (native order).
    static QByteArray frame(quint32 type, const QByteArray& payload);
    static constexpr quint32 kSubscribe = 2;
    static constexpr quint32 kGetTree = 4;
    static constexpr quint32 kWindowEvent = 0x80000003;
    // A message larger than this ends the connection (a tree of many windows fits).
    static constexpr quint32 kMaxMessageBytes = 64 * 1024 * 1024;

private:
    void readMessages();
    void handle(quint32 type, const QByteArray& payload);
    void settle();

    QLocalSocket m_socket;
    QByteArray m_buffer;
    QTimer m_settle;  // zero: runs once the events read so far are handled
    QJsonObject m_pending;  // the last focused container, not yet reported
    qint64 m_last = -1;     // id of the container reported last (none of the host's)
    bool m_broken = false;
    bool m_subscribed = false;
};
