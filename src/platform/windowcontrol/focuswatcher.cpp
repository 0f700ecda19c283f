#include "focuswatcher.h"

#include "windowbackend.h"
#include "windowcontrollog.h"

FocusWatcher::FocusWatcher(QObject* parent)
    : FocusWatcher(WindowBackend::create(), parent)
{
}

FocusWatcher::FocusWatcher(std::unique_ptr<WindowBackend> backend, QObject* parent)
    : QObject(parent)
    , m_backend(backend ? std::move(backend) : WindowBackend::create())
{
    // The backend may report at once, or later from the event loop; either way
    // through this object, which it does not outlive.
    m_watching = m_backend->watchFocus([this](const FocusedWindow& window) {
        emit activeWindowChanged(window.title, window.process, window.appId);
    });
    if (!m_watching)
        qCInfo(lcWindowControl) << "the" << m_backend->name()
                                << "window system sends no focus events: no focused-window signal";
}

FocusWatcher::~FocusWatcher() = default;

bool FocusWatcher::isWatching() const
{
    return m_watching;
}

FocusedWindow FocusWatcher::current() const
{
    return m_backend->focusedWindow();
}
