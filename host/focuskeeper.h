#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>

// Keeps the keyboard focus where the user works. The host's own windows are only
// the place a key press starts from: before the package sends keys or text, the focus
// goes back to the window the user was in before the host (made active again), or
// nowhere when there was none, so that a key of the package never lands in the host.
// On X11 it follows _NET_ACTIVE_WINDOW from the window manager's events; elsewhere it
// does nothing and runs the press at once.
class FocusKeeper : public QObject
{
    Q_OBJECT
public:
    explicit FocusKeeper(QObject* parent = nullptr);
    ~FocusKeeper() override;

    // True where the focus can be followed and handed back (X11 with a window manager).
    bool available() const;
    // Runs `then` once the focus is outside the host: at once when it is already.
    void handBack(std::function<void()> then);
    // The last active window that is not the host's (0 when none is known).
    quint32 lastOtherWindow() const;

    // How long to wait for the window manager to activate the window handed back to.
    static constexpr int kHandBackMs = 500;

private:
    struct X11;

    void readEvents();
    void finishHandBack();

    std::unique_ptr<X11> m_x11;
    QList<std::function<void()>> m_waiting;
    QTimer m_timeout;
};
