#pragma once

#include "platform/windowcontrol/pendingframes.h"
#include "platform/windowcontrol/windowbackend.h"

#include <QJsonObject>

#include <optional>

class SwayIpc;

// Window control on sway and other i3-compatible compositors, through their IPC socket.
// A listing reads the layout tree (title, pid, app id and the container's rectangle,
// decorations included, in layout coordinates), since the compositor announces no
// resize or drag. The window operations are commands on the container's id: a size and
// a position go together, making the window floating first; maximising is fullscreen
// (there is no maximised state), minimising moves the window to the scratchpad, closing
// kills it.
// The focused window comes from the compositor's window events, on a second connection.
class SwayWindowBackend final : public WindowBackend
{
public:
    // Null when no compositor answers on socketPath.
    static std::unique_ptr<SwayWindowBackend> open(const QString& socketPath);
    // $SWAYSOCK, else $I3SOCK; empty when neither is set.
    static QString sessionSocket();
    ~SwayWindowBackend() override;

    QString name() const override;
    QList<Window> enumerate() override;
    bool setSize(int index, const QSize& size) override;
    bool setPosition(int index, const QPoint& position) override;
    bool close(int index) override;
    bool maximize(int index) override;
    bool minimize(int index) override;
    bool appliesLater() const override;
    bool settle(int index, QRectF* frame) override;
    bool watchFocus(FocusListener listener) override;
    FocusedWindow focusedWindow() override;

    // A window container of the tree as listed, or nothing for any other node.
    static std::optional<Window> windowOf(const QJsonObject& node, bool withProcess = true);

private:
    struct Listed
    {
        qint64 id = 0;
        Window window;
        bool floating = false;  // and not fullscreen
    };

    explicit SwayWindowBackend(std::unique_ptr<SwayIpc> ipc);
    bool run(int index, const char* operation, const QString& commands);
    // run() in two halves: the command for the window, then whether sway carried it out.
    bool sendCommand(int index, const QString& commands);
    bool commandDone(int index, const char* operation);
    // The container as the tree shows it now.
    std::optional<Listed> find(qint64 id);
    QRect afterFloating(qint64 id, const QRect& reached);
    std::optional<Listed> findIn(const QJsonObject& root, qint64 id) const;
    std::optional<QJsonObject> tree();
    // withProcess: the process names too (one file read per window).
    void collect(const QJsonObject& node, QList<Listed>& out, bool withProcess = true) const;
    void readEvents();
    void onWindowEvent(const QJsonObject& event);
    static FocusedWindow focusOf(const QJsonObject& container);
    static std::optional<QJsonObject> focusedNode(const QJsonObject& node);

    std::unique_ptr<SwayIpc> m_ipc;
    std::unique_ptr<SwayIpc> m_events;  // subscribed to window events once focus is watched
    QList<Listed> m_windows;            // the last listing
    PendingFrames<Listed> m_pending;    // sent together when the container settles
    FocusListener m_focusListener;
    FocusedWindow m_focused;
    bool m_saidNoMaximise = false;
};
