#pragma once

#include "focusedwindow.h"

#include <QObject>
#include <QTimer>

#include <memory>

class WindowBackend;

// Tells which window has the keyboard focus, as it changes: from the window system's
// events, never by polling. Knows nothing of keys or actions; a host page that follows
// the user's application can use it alone. Where the window system sends no focus
// events, it says so once (info) and never signals.
class FocusWatcher : public QObject
{
    Q_OBJECT
public:
    // On the window system of this session, chosen as window control chooses it.
    explicit FocusWatcher(QObject* parent = nullptr);
    explicit FocusWatcher(std::unique_ptr<WindowBackend> backend, QObject* parent = nullptr);
    ~FocusWatcher() override;

    bool isWatching() const;
    FocusedWindow current() const;

signals:
    // The focused window changed, or its title did. All empty: no window has had the
    // focus for a moment (the focus passing between two windows goes through no window
    // under some window managers, which is not said).
    void activeWindowChanged(const QString& title, const QString& process, const QString& appId);

private:
    void report(const FocusedWindow& window);
    void say(const FocusedWindow& window);

    std::unique_ptr<WindowBackend> m_backend;
    bool m_watching = false;
    FocusedWindow m_said;  // what the signal said last
    QTimer m_noWindow;     // no window has the focus, not yet said
    Q_DISABLE_COPY(FocusWatcher)
};
