#include "focuswatcher.h"

#include "windowbackend.h"
#include "windowcontrolconstants.h"
#include "windowcontrollog.h"

FocusWatcher::FocusWatcher(QObject* parent)
    : FocusWatcher(WindowBackend::create(), parent)
{
}

FocusWatcher::FocusWatcher(std::unique_ptr<WindowBackend> backend, QObject* parent)
    : QObject(parent)
    , m_backend(backend ? std::move(backend) : WindowBackend::create())
{
    m_noWindow.setSingleShot(true);
    m_noWindow.setInterval(WindowControlConstants::kNoFocusGraceMs);
    connect(&m_noWindow, &QTimer::timeout, this, [this] { say(FocusedWindow()); });
    // The backend may report at once, or later from the event loop; either way
    // through this object, which it does not outlive.
    m_watching = m_backend->watchFocus([this](const FocusedWindow& window) { report(window); });
    if (!m_watching)
        qCInfo(lcWindowControl) << "the" << m_backend->name()
                                << "window system sends no focus events: no focused-window signal";
}

FocusWatcher::~FocusWatcher() = default;

void FocusWatcher::report(const FocusedWindow& window)
{
    if (window == FocusedWindow() && m_said != FocusedWindow()) {
        if (!m_noWindow.isActive())
            m_noWindow.start();
        return;
    }
    m_noWindow.stop();
    say(window);
}

void FocusWatcher::say(const FocusedWindow& window)
{
    if (window == m_said)
        return;
    m_said = window;
    emit activeWindowChanged(window.title, window.process, window.appId);
}

bool FocusWatcher::isWatching() const
{
    return m_watching;
}

FocusedWindow FocusWatcher::current() const
{
    return m_backend->focusedWindow();
}
